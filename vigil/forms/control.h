#pragma once
// The state every headless control shares: its name, caption, and enabled and visible flags.
// Changing any of them raises StateChanged, which a Win32 view uses to keep the real window
// in step.
#include "vigil/forms/event.h"

#include <string>

namespace vigil::forms {

class Control {
public:
    explicit Control(std::string name, std::string caption = {})
        : name_(std::move(name)), caption_(std::move(caption)) {}
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    const std::string& Name() const { return name_; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption) { Update(caption_, caption); }

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { Update(enabled_, enabled); }

    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { Update(visible_, visible); }

    Event<> StateChanged;

protected:
    template <typename T> void Update(T& field, const T& value) {
        if (field == value)
            return;
        field = value;
        StateChanged.Raise();
    }

private:
    std::string name_;
    std::string caption_;
    bool enabled_ = true;
    bool visible_ = true;
};

} // namespace vigil::forms
