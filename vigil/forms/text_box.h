#pragma once
// A single- or multi-line text field. Change is raised whenever the text changes, also when
// the program sets it, as the platform's text box does.
#include "vigil/forms/control.h"

namespace vigil::forms {

class TextBox : public Control {
public:
    explicit TextBox(std::string name, std::string text = {})
        : Control(std::move(name)), text_(std::move(text)) {}

    const std::string& Text() const { return text_; }
    void SetText(const std::string& text) {
        if (text == text_)
            return;
        text_ = text;
        Change.Raise();
    }

    // A typed character, before the field takes it: handlers may change the code, and 0 drops
    // the key. Returns what the field is to take.
    int PressKey(int code) {
        KeyPress.Raise(code);
        return code;
    }

    Event<> Change;
    Event<int&> KeyPress;

private:
    std::string text_;
};

// A label shows its caption; the hidden ones carry flags such as the busy marker.
class Label : public Control {
public:
    using Control::Control;
};

// A frame groups controls; only its caption and visibility matter.
class Frame : public Control {
public:
    using Control::Control;
};

} // namespace vigil::forms
