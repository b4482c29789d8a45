#pragma once
// A window timer. The Win32 view runs it with SetTimer while it is enabled; tests call Tick().
#include "vigil/forms/control.h"

namespace vigil::forms {

class Timer : public Control {
public:
    Timer(std::string name, unsigned intervalMs, bool enabled = false)
        : Control(std::move(name)), intervalMs_(intervalMs) {
        SetEnabled(enabled);
    }

    unsigned Interval() const { return intervalMs_; }
    void SetInterval(unsigned intervalMs) { Update(intervalMs_, intervalMs); }

    // One elapsed interval: raises the Timer event if the timer is running.
    void Tick() {
        if (Enabled() && intervalMs_ > 0)
            Elapsed.Raise();
    }

    Event<> Elapsed;

private:
    unsigned intervalMs_;
};

} // namespace vigil::forms
