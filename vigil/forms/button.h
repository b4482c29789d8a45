#pragma once
// Command buttons and check boxes. Click() is what the user's click does; a disabled button
// ignores clicks, which is what keeps a running check from being started twice.
#include "vigil/forms/control.h"

namespace vigil::forms {

class Button : public Control {
public:
    using Control::Control;

    void Click() {
        if (Enabled())
            Clicked.Raise();
    }

    Event<> Clicked;
};

// Value 0 (unchecked) or 1 (checked); setting a different value raises Clicked, as the
// platform's check box does when the program changes it.
class CheckBox : public Control {
public:
    explicit CheckBox(std::string name, std::string caption = {}, int value = 0)
        : Control(std::move(name), std::move(caption)), value_(value) {}

    int Value() const { return value_; }
    bool Checked() const { return value_ != 0; }
    void SetValue(int value) {
        if (value == value_)
            return;
        value_ = value;
        Clicked.Raise();
    }
    void Click() {
        if (Enabled())
            SetValue(value_ ? 0 : 1);
    }

    Event<> Clicked;

private:
    int value_ = 0;
};

} // namespace vigil::forms
