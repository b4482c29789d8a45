#pragma once
// A tab strip: a row of tabs of which one is selected. Click is raised whenever the selection
// changes, also when the program selects a tab, and when the user clicks a tab (even the one
// already selected, as the platform's strip does). Tabs are addressed 0-based here.
#include "vigil/forms/control.h"

#include <cstddef>
#include <string>
#include <vector>

namespace vigil::forms {

class TabStrip : public Control {
public:
    TabStrip(std::string name, std::vector<std::string> tabs)
        : Control(std::move(name)), tabs_(std::move(tabs)), selected_(tabs_.empty() ? -1 : 0) {}

    int TabCount() const { return static_cast<int>(tabs_.size()); }
    const std::vector<std::string>& Tabs() const { return tabs_; }
    // The caption of a tab, or an empty text outside the strip.
    std::string TabCaption(int index) const {
        return InRange(index) ? tabs_[static_cast<std::size_t>(index)] : std::string();
    }

    int SelectedIndex() const { return selected_; } // -1 only for a strip without tabs
    std::string SelectedCaption() const { return TabCaption(selected_); }

    // Selects a tab; an index outside the strip is refused and changes nothing.
    bool Select(int index) {
        if (!InRange(index))
            return false;
        if (index != selected_) {
            selected_ = index;
            Click.Raise();
        }
        return true;
    }

    // The user's click on a tab; ignored while the strip is disabled.
    void ClickTab(int index) {
        if (!Enabled() || !InRange(index))
            return;
        if (index == selected_)
            Click.Raise();
        else
            Select(index);
    }

    Event<> Click;

private:
    bool InRange(int index) const { return index >= 0 && index < TabCount(); }

    std::vector<std::string> tabs_;
    int selected_;
};

} // namespace vigil::forms
