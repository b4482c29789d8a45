#pragma once
// The control's function table filled with a RAS played in memory.
#include "ringer/mod_declares.h"
#include "ringer/tests/ras_player.h"

#include <memory>
#include <set>
#include <string>

namespace ringer::testing {

struct InMemorySystem {
    RasScenario ras;
    std::uint32_t platformId = 2; // what GetVersionExA reports
    bool libraryLoaded = true;
    std::set<std::string> missingFunctions;
};

// The table reads `system` at every call, so a test may change it between calls.
std::shared_ptr<const RasApi> InMemoryRas(InMemorySystem& system);

} // namespace ringer::testing
