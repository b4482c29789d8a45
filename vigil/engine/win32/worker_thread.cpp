#include "vigil/engine/win32/worker_thread.h"

#include <windows.h>

#include <memory>
#include <new>

namespace vigil::engine::win32 {

namespace {

DWORD WINAPI RunWork(LPVOID parameter) {
    std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(parameter));
    try {
        (*work)();
    } catch (...) {
        // The work reports through its own job; nothing may escape a thread's routine.
    }
    return 0;
}

} // namespace

bool StartWorkerThread(std::function<void()> work) {
    auto owned = std::unique_ptr<std::function<void()>>(new (std::nothrow)
                                                            std::function<void()>(std::move(work)));
    if (!owned)
        return false;
    HANDLE thread = CreateThread(nullptr, 0, RunWork, owned.get(), 0, nullptr);
    if (!thread)
        return false;
    owned.release(); // the thread owns the work now
    CloseHandle(thread);
    return true;
}

} // namespace vigil::engine::win32
