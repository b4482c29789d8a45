#include "vigil/engine/win32/win32_connection_flags.h"

#include <windows.h>

#include <wininet.h>

namespace vigil::engine::win32 {

bool Win32ConnectionFlags::InternetGetConnectedState(std::uint32_t& flags) {
    DWORD out = 0;
    const BOOL online = ::InternetGetConnectedState(&out, 0);
    flags = out;
    return online != FALSE;
}

} // namespace vigil::engine::win32
