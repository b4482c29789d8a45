#pragma once
// The connection flags from WinINet's InternetGetConnectedState.
#include "vigil/engine/connection_flags.h"

namespace vigil::engine::win32 {

class Win32ConnectionFlags final : public ConnectionFlags {
public:
    bool InternetGetConnectedState(std::uint32_t& flags) override;
};

} // namespace vigil::engine::win32
