#include "vigil/forms/list_view.h"

#include <cstddef>

namespace vigil::forms {

bool ListView::SetColumnWidth(int column, double width) {
    if (column < 1 || column > static_cast<int>(columns_.size()))
        return false;
    columns_[static_cast<std::size_t>(column - 1)].width = width;
    ColumnsChanged.Raise();
    return true;
}

const ListViewRow* ListView::Row(int row) const {
    return InRange(row) ? &rows_[static_cast<std::size_t>(row - 1)] : nullptr;
}

int ListView::AddRow(const std::string& text) {
    rows_.push_back({text, {}});
    RowsChanged.Raise();
    return RowCount();
}

bool ListView::RemoveRow(int row) {
    if (!InRange(row))
        return false;
    rows_.erase(rows_.begin() + (row - 1));
    if (selected_ == row)
        selected_ = 0;
    else if (selected_ > row)
        --selected_;
    RowsChanged.Raise();
    return true;
}

bool ListView::SetRowText(int row, const std::string& text) {
    if (!InRange(row))
        return false;
    rows_[static_cast<std::size_t>(row - 1)].text = text;
    CellChanged.Raise(row, 0);
    return true;
}

bool ListView::SetSubItem(int row, int subItem, const std::string& text) {
    if (!InRange(row) || subItem < 1)
        return false;
    auto& items = rows_[static_cast<std::size_t>(row - 1)].subItems;
    if (items.size() < static_cast<std::size_t>(subItem))
        items.resize(static_cast<std::size_t>(subItem));
    items[static_cast<std::size_t>(subItem - 1)] = text;
    CellChanged.Raise(row, subItem);
    return true;
}

std::string ListView::SubItem(int row, int subItem) const {
    const ListViewRow* r = Row(row);
    if (!r || subItem < 1 || static_cast<std::size_t>(subItem) > r->subItems.size())
        return {};
    return r->subItems[static_cast<std::size_t>(subItem - 1)];
}

void ListView::Clear() {
    rows_.clear();
    selected_ = 0;
    RowsChanged.Raise();
}

bool ListView::SelectRow(int row) {
    if (row != 0 && !InRange(row))
        return false;
    if (row != selected_) {
        selected_ = row;
        SelectionChanged.Raise();
    }
    return true;
}

} // namespace vigil::forms
