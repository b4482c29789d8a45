#pragma once
// Fills the control's function table from rasapi32, loaded at run time so that a machine
// without dial-up networking still loads the control (its members then report the missing
// library or function as a run-time error), and from kernel32's GetVersionExA.
#include "ringer/mod_declares.h"

#include <memory>

namespace ringer::win32 {

// The library stays loaded as long as the returned table lives.
std::shared_ptr<const RasApi> LoadRasApi();

} // namespace ringer::win32
