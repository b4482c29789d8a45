#include "vigil/forms/list_box.h"

namespace vigil::forms {

bool ListBox::SetList(int index, const std::string& text) {
    if (!InRange(index))
        return false;
    items_[static_cast<std::size_t>(index)] = text;
    ItemsChanged.Raise();
    return true;
}

bool ListBox::AddItem(const std::string& text, int index) {
    if (index < -1 || index > ListCount())
        return false;
    if (index == -1)
        items_.push_back(text);
    else
        items_.insert(items_.begin() + index, text);
    ItemsChanged.Raise();
    return true;
}

bool ListBox::RemoveItem(int index) {
    if (!InRange(index))
        return false;
    items_.erase(items_.begin() + index);
    // The selection follows the platform: removing the selected entry clears it, removing an
    // entry above it moves it up.
    if (listIndex_ == index)
        listIndex_ = -1;
    else if (listIndex_ > index)
        --listIndex_;
    ItemsChanged.Raise();
    return true;
}

void ListBox::Clear() {
    if (items_.empty() && listIndex_ == -1)
        return;
    items_.clear();
    listIndex_ = -1;
    ItemsChanged.Raise();
}

bool ListBox::SetListIndex(int index) {
    if (index != -1 && !InRange(index))
        return false;
    if (index != listIndex_) {
        listIndex_ = index;
        if (index >= 0)
            OnSelected(index);
        Click.Raise();
    }
    return true;
}

} // namespace vigil::forms
