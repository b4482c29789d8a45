#pragma once
// List boxes and drop-down combo boxes. Items are kept in order; ListIndex is the selected
// entry (-1 for none). Out-of-range removals are refused and reported, never undefined.
#include "vigil/forms/control.h"

#include <cstddef>
#include <string>
#include <vector>

namespace vigil::forms {

class ListBox : public Control {
public:
    using Control::Control;

    int ListCount() const { return static_cast<int>(items_.size()); }
    const std::vector<std::string>& Items() const { return items_; }
    // The entry at index, or an empty text outside the list (as the platform's List does).
    std::string List(int index) const {
        return InRange(index) ? items_[static_cast<std::size_t>(index)] : std::string();
    }
    bool SetList(int index, const std::string& text);

    // index -1 appends; an index past the end is refused.
    bool AddItem(const std::string& text, int index = -1);
    bool RemoveItem(int index);
    void Clear();

    int ListIndex() const { return listIndex_; }
    bool SetListIndex(int index);

    Event<> ItemsChanged;
    Event<> Click;    // the selection changed
    Event<> DblClick; // the user double-clicked the list (the view raises it)

protected:
    bool InRange(int index) const { return index >= 0 && index < ListCount(); }
    virtual void OnSelected(int /*index*/) {}

private:
    std::vector<std::string> items_;
    int listIndex_ = -1;
};

// A drop-down list with an edit text. Choosing an entry sets the text to that entry.
class ComboBox : public ListBox {
public:
    using ListBox::ListBox;
    // A box with design-time entries and edit text; no entry is selected at first.
    ComboBox(std::string name, const std::vector<std::string>& items, std::string text = {})
        : ListBox(std::move(name)), text_(std::move(text)) {
        for (const auto& item : items)
            AddItem(item);
    }

    const std::string& Text() const { return text_; }
    void SetText(const std::string& text) {
        if (text == text_)
            return;
        text_ = text;
        Change.Raise();
    }

    Event<> Change;

protected:
    void OnSelected(int index) override { SetText(List(index)); }

private:
    std::string text_;
};

} // namespace vigil::forms
