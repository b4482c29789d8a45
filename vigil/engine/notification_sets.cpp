#include "vigil/engine/notification_sets.h"

#include <algorithm>

namespace vigil::engine {

static int IndexOf(const forms::ListBox& set, const std::string& address) {
    const auto& items = set.Items();
    auto it = std::find(items.begin(), items.end(), address);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

bool SetContains(const forms::ListBox& set, const std::string& address) {
    return IndexOf(set, address) >= 0;
}

void SetAdd(forms::ListBox& set, const std::string& address) {
    if (!SetContains(set, address))
        set.AddItem(address);
}

void SetRemove(forms::ListBox& set, const std::string& address) {
    int index = IndexOf(set, address);
    if (index >= 0)
        set.RemoveItem(index);
}

} // namespace vigil::engine
