#pragma once
// A rich-text field used as a plain text log. Appending is kept separate from setting the
// whole text so that adding a line costs time in proportion to the line.
#include "vigil/forms/control.h"

namespace vigil::forms {

class RichText : public Control {
public:
    explicit RichText(std::string name) : Control(std::move(name)) {}

    const std::string& Text() const { return text_; }
    void SetText(const std::string& text) {
        text_ = text;
        Replaced.Raise();
        Change.Raise();
    }
    void Append(const std::string& more) {
        text_ += more;
        Appended.Raise(more);
        Change.Raise();
    }

    Event<> Change;
    Event<> Replaced;                   // the whole text was set
    Event<const std::string&> Appended; // text was added at the end

private:
    std::string text_;
};

} // namespace vigil::forms
