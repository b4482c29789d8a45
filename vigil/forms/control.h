#pragma once
// The state every headless control shares: its name, caption, enabled and visible flags and
// its place on the window. Changing any of them raises StateChanged, which a Win32 view uses to
// keep the real window in step.
#include "vigil/forms/event.h"

#include <string>

namespace vigil::forms {

// A control's or window's place, in twips (15 to a pixel at 96 DPI). All zero where the window
// leaves the layout to the view; a window's left and top are its place on the screen.
struct Bounds {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    bool operator==(const Bounds&) const = default;
};

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

    const Bounds& Place() const { return bounds_; }
    void SetPlace(const Bounds& bounds) { Update(bounds_, bounds); }
    void SetWidth(double width) { Update(bounds_.width, width); }
    void SetHeight(double height) { Update(bounds_.height, height); }

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
    Bounds bounds_;
};

} // namespace vigil::forms
