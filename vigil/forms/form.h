#pragma once
// A window: caption, shown or hidden, and its window state. Show and Hide raise the events a
// Win32 view uses to show the real window.
#include "vigil/forms/control.h"

namespace vigil::forms {

enum class WindowState { Normal, Minimized, Maximized };

class Form : public Control {
public:
    Form(std::string name, std::string caption) : Control(std::move(name), std::move(caption)) {
        SetVisible(false);
    }

    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }

    WindowState State() const { return state_; }
    void SetState(WindowState state) { Update(state_, state); }

private:
    WindowState state_ = WindowState::Normal;
};

} // namespace vigil::forms
