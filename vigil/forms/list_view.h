#pragma once
// A report-style list view: rows with a text and sub-items, and columns with a header and a
// width in the list's scale units (points). Rows are addressed 1-based, as the platform's
// ListItems collection does; SelectedRow() is 0 when nothing is selected.
#include "vigil/forms/control.h"

#include <string>
#include <vector>

namespace vigil::forms {

struct ListViewColumn {
    std::string header;
    double width = 0;
};

struct ListViewRow {
    std::string text;
    std::vector<std::string> subItems; // sub-item 1 is subItems[0]
};

class ListView : public Control {
public:
    ListView(std::string name, std::vector<ListViewColumn> columns)
        : Control(std::move(name)), columns_(std::move(columns)) {}

    const std::vector<ListViewColumn>& Columns() const { return columns_; }
    bool SetColumnWidth(int column, double width); // 1-based, as ColumnHeaders(n).Width

    int RowCount() const { return static_cast<int>(rows_.size()); }
    const std::vector<ListViewRow>& Rows() const { return rows_; }
    const ListViewRow* Row(int row) const; // 1-based; nullptr outside
    int AddRow(const std::string& text);   // returns the new row's 1-based index
    bool RemoveRow(int row);
    bool SetRowText(int row, const std::string& text);
    bool SetSubItem(int row, int subItem, const std::string& text); // subItem >= 1
    std::string SubItem(int row, int subItem) const;
    void Clear();

    int SelectedRow() const { return selected_; }
    bool SelectRow(int row); // 0 clears the selection

    Event<> RowsChanged; // rows added, removed or cleared
    // One cell changed in place: (row, 0) is a row's text, (row, n) its sub-item n. A view
    // updates that cell alone, so marking a row costs the same in a list of any length.
    Event<int, int> CellChanged;
    Event<> ColumnsChanged;
    Event<> SelectionChanged;

private:
    bool InRange(int row) const { return row >= 1 && row <= RowCount(); }

    std::vector<ListViewColumn> columns_;
    std::vector<ListViewRow> rows_;
    int selected_ = 0;
};

} // namespace vigil::forms
