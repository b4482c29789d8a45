#include "vigil/engine/win32/pumped_wait.h"

namespace vigil::engine::win32 {

PumpedWaitOutcome WaitPumping(Win32MessagePump& pump, HANDLE handle, ULONGLONG deadline,
                              const std::function<bool()>& stop) {
    for (;;) {
        if (stop && stop())
            return PumpedWaitOutcome::Stopped;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            return PumpedWaitOutcome::TimedOut;
        // A wait longer than a DWORD holds is done in pieces; INFINITE is never passed.
        const ULONGLONG left = deadline - now;
        const DWORD wait = left >= INFINITE ? INFINITE - 1 : static_cast<DWORD>(left);
        const DWORD woke =
            pump.QuitRequested()
                ? WaitForSingleObject(handle, wait)
                : MsgWaitForMultipleObjectsEx(1, &handle, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke == WAIT_OBJECT_0)
            return PumpedWaitOutcome::Signalled;
        if (woke == WAIT_OBJECT_0 + 1) {
            pump.DoEvents();
            continue;
        }
        if (woke == WAIT_FAILED)
            return PumpedWaitOutcome::Failed;
    }
}

} // namespace vigil::engine::win32
