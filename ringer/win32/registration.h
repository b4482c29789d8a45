#pragma once
// Self-registration: the class under its ProgID "Ringer.DialUpNetworking" as an in-process
// control (apartment-threaded), and the type library carried in the DLL.
#include <windows.h>

namespace ringer::win32 {

inline constexpr const char* kProgId = "Ringer.DialUpNetworking";
inline constexpr const char* kClassName = "Ringer Dial-Up Networking Control";

HRESULT RegisterServer();
HRESULT UnregisterServer();

} // namespace ringer::win32
