#pragma once
// Starts a piece of blocking work on a thread of its own that nobody joins: the user-interface
// thread waits for its result through an event and may give up on it.
#include <functional>

namespace vigil::engine::win32 {

// True when the thread started. The work owns whatever it needs (a shared job, say), since the
// caller may be gone when it ends. A native thread, not a detached std::thread: under load the
// MinGW threads library has been seen to start a detached thread's routine with its state
// already gone (a read of address 0 in the thread's first instruction).
bool StartWorkerThread(std::function<void()> work);

} // namespace vigil::engine::win32
