#pragma once
// The one wait of the user-interface thread for work done elsewhere: it sleeps until the
// handle is signalled, the deadline passes or a message arrives, dispatches arrived messages
// through the message pump (so timers and clicks are served meanwhile) and looks again. Once
// the pump has met WM_QUIT it waits without pumping, so it does not spin on the re-posted quit.
#include "vigil/engine/win32/win32_message_pump.h"

#include <windows.h>

#include <functional>

namespace vigil::engine::win32 {

enum class PumpedWaitOutcome {
    Signalled, // the handle was signalled
    TimedOut,  // the deadline passed first
    Stopped,   // stop() returned true (checked before every wait, so also after each dispatch)
    Failed,    // the wait itself failed; GetLastError tells why
};

// deadline: a GetTickCount64 value. stop may be empty.
PumpedWaitOutcome WaitPumping(Win32MessagePump& pump, HANDLE handle, ULONGLONG deadline,
                              const std::function<bool()>& stop = {});

// The GetTickCount64 value seconds from now.
inline ULONGLONG DeadlineAfterSeconds(int seconds) {
    return GetTickCount64() + static_cast<ULONGLONG>(seconds > 0 ? seconds : 0) * 1000u;
}

} // namespace vigil::engine::win32
