#pragma once
// A rich-text field used as a plain text log. Appending is kept separate from setting the
// whole text so that adding a line costs time in proportion to the line.
#include "vigil/forms/control.h"

#include <cstddef>

namespace vigil::forms {

class RichText : public Control {
public:
    explicit RichText(std::string name, std::string text = {})
        : Control(std::move(name)), text_(std::move(text)) {}

    const std::string& Text() const { return text_; }
    void SetText(std::string text) {
        text_ = std::move(text);
        if (selStart_ > text_.size())
            selStart_ = text_.size();
        Replaced.Raise();
        Change.Raise();
    }
    void Append(const std::string& more) {
        text_ += more;
        Appended.Raise(more);
        Change.Raise();
    }

    // The caret position, in characters from the start of the text.
    std::size_t SelStart() const { return selStart_; }
    void SetSelStart(std::size_t position) {
        selStart_ = position < text_.size() ? position : text_.size();
        SelChanged.Raise();
    }

    Event<> Change;
    Event<> Replaced;                   // the whole text was set
    Event<const std::string&> Appended; // text was added at the end
    Event<> SelChanged;                 // the caret moved

private:
    std::string text_;
    std::size_t selStart_ = 0;
};

} // namespace vigil::forms
