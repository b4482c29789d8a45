#pragma once
// A thread timer that counts its ticks and can act on each, so a test sees the message loop
// turning while the user-interface thread waits for a fetch or a send, and can act from inside
// it as a user's click would. One probe at a time.
#include <windows.h>

#include <functional>
#include <utility>

namespace testenv {

class TimerProbe {
public:
    explicit TimerProbe(UINT intervalMs, std::function<void()> onTick = {})
        : onTick_(std::move(onTick)) {
        active_ = this;
        id_ = SetTimer(nullptr, 0, intervalMs, &TimerProbe::Proc);
    }
    TimerProbe(const TimerProbe&) = delete;
    TimerProbe& operator=(const TimerProbe&) = delete;
    ~TimerProbe() {
        KillTimer(nullptr, id_);
        active_ = nullptr;
    }
    int ticks = 0;

private:
    static void CALLBACK Proc(HWND, UINT, UINT_PTR, DWORD) {
        if (!active_)
            return;
        ++active_->ticks;
        if (active_->onTick_)
            active_->onTick_();
    }
    static inline TimerProbe* active_ = nullptr;
    std::function<void()> onTick_;
    UINT_PTR id_ = 0;
};

} // namespace testenv
