#include "vigil/shell/win32/control_binding.h"

#include <commctrl.h>
#include <richedit.h>

#include <cmath>
#include <string>

namespace vigil::shell {

namespace {

std::string WindowText(HWND hwnd) {
    int length = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    int got = GetWindowTextA(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
    return text;
}

} // namespace

int PointsToPixels(double points) {
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    return static_cast<int>(std::lround(points * dpi / 72.0));
}

void ControlBinding::BindCommonState(HWND hwnd, forms::Control& control, bool mirrorCaption) {
    auto push = [this, hwnd, &control, mirrorCaption] {
        pushing_ = true;
        EnableWindow(hwnd, control.Enabled());
        ShowWindow(hwnd, control.Visible() ? SW_SHOWNA : SW_HIDE);
        if (mirrorCaption && WindowText(hwnd) != control.Caption())
            SetWindowTextA(hwnd, control.Caption().c_str());
        pushing_ = false;
    };
    control.StateChanged.Add(push);
    push();
}

void ControlBinding::BindForm(HWND hwnd, forms::Form& form) {
    auto push = [hwnd, &form] {
        if (WindowText(hwnd) != form.Caption())
            SetWindowTextA(hwnd, form.Caption().c_str());
        bool shown = IsWindowVisible(hwnd) != FALSE;
        if (form.Visible() && !shown)
            ShowWindow(hwnd, form.State() == forms::WindowState::Minimized ? SW_SHOWMINIMIZED
                                                                           : SW_SHOWNORMAL);
        else if (!form.Visible() && shown)
            ShowWindow(hwnd, SW_HIDE);
        EnableWindow(hwnd, form.Enabled());
    };
    form.StateChanged.Add(push);
    push();
}

void ControlBinding::BindButton(HWND hwnd, forms::Button& button) {
    BindCommonState(hwnd, button, true);
    commandHandlers_[GetDlgCtrlID(hwnd)] = [&button](int code) {
        if (code == BN_CLICKED)
            button.Click();
    };
}

void ControlBinding::BindStatic(HWND hwnd, forms::Control& control) {
    BindCommonState(hwnd, control, true);
}

void ControlBinding::BindTextBox(HWND hwnd, forms::TextBox& box) {
    BindCommonState(hwnd, box, false);
    auto push = [this, hwnd, &box] {
        if (WindowText(hwnd) == box.Text())
            return;
        pushing_ = true;
        SetWindowTextA(hwnd, box.Text().c_str());
        pushing_ = false;
    };
    box.Change.Add(push);
    push();
    commandHandlers_[GetDlgCtrlID(hwnd)] = [this, hwnd, &box](int code) {
        if (code == EN_CHANGE && !pushing_)
            box.SetText(WindowText(hwnd));
    };
}

void ControlBinding::FillListView(HWND hwnd, const forms::ListView& view) {
    pushing_ = true;
    SendMessageA(hwnd, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(hwnd);
    int index = 0;
    for (const auto& row : view.Rows()) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = index;
        item.pszText = const_cast<char*>(row.text.c_str());
        SendMessageA(hwnd, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        for (std::size_t sub = 0; sub < row.subItems.size(); ++sub) {
            LVITEMA subItem{};
            subItem.iSubItem = static_cast<int>(sub) + 1;
            subItem.pszText = const_cast<char*>(row.subItems[sub].c_str());
            SendMessageA(hwnd, LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&subItem));
        }
        ++index;
    }
    if (view.SelectedRow() > 0)
        ListView_SetItemState(hwnd, view.SelectedRow() - 1, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageA(hwnd, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd, nullptr, TRUE);
    pushing_ = false;
}

void ControlBinding::BindListView(HWND hwnd, forms::ListView& view) {
    BindCommonState(hwnd, view, false);
    ListView_SetExtendedListViewStyle(hwnd, LVS_EX_FULLROWSELECT);
    int column = 0;
    for (const auto& c : view.Columns()) {
        LVCOLUMNA lvc{};
        lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        lvc.pszText = const_cast<char*>(c.header.c_str());
        lvc.cx = PointsToPixels(c.width);
        lvc.iSubItem = column;
        SendMessageA(hwnd, LVM_INSERTCOLUMNA, column++, reinterpret_cast<LPARAM>(&lvc));
    }
    view.ColumnsChanged.Add([hwnd, &view] {
        int i = 0;
        for (const auto& c : view.Columns())
            ListView_SetColumnWidth(hwnd, i++, PointsToPixels(c.width));
    });
    view.RowsChanged.Add([this, hwnd, &view] { FillListView(hwnd, view); });
    view.CellChanged.Add([this, hwnd, &view](int row, int subItem) {
        const forms::ListViewRow* r = view.Row(row);
        if (!r)
            return;
        std::string text = subItem == 0 ? r->text : view.SubItem(row, subItem);
        LVITEMA cell{};
        cell.iSubItem = subItem;
        cell.pszText = text.data();
        pushing_ = true;
        SendMessageA(hwnd, LVM_SETITEMTEXTA, static_cast<WPARAM>(row - 1),
                     reinterpret_cast<LPARAM>(&cell));
        pushing_ = false;
    });
    view.SelectionChanged.Add([this, hwnd, &view] {
        pushing_ = true;
        ListView_SetItemState(hwnd, -1, 0, LVIS_SELECTED);
        if (view.SelectedRow() > 0)
            ListView_SetItemState(hwnd, view.SelectedRow() - 1, LVIS_SELECTED, LVIS_SELECTED);
        pushing_ = false;
    });
    FillListView(hwnd, view);
    notifyHandlers_[GetDlgCtrlID(hwnd)] = [this, &view](const NMHDR* header) {
        if (header->code != LVN_ITEMCHANGED || pushing_)
            return;
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
        if (!(change->uChanged & LVIF_STATE))
            return;
        bool was = (change->uOldState & LVIS_SELECTED) != 0;
        bool is = (change->uNewState & LVIS_SELECTED) != 0;
        if (is && !was)
            view.SelectRow(change->iItem + 1);
        else if (was && !is && view.SelectedRow() == change->iItem + 1)
            view.SelectRow(0);
    };
}

void ControlBinding::BindRichText(HWND hwnd, forms::RichText& text) {
    BindCommonState(hwnd, text, false);
    // Rich edit controls stop at 32K characters unless told otherwise.
    SendMessageA(hwnd, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    auto replace = [this, hwnd, &text] {
        pushing_ = true;
        SetWindowTextA(hwnd, text.Text().c_str());
        pushing_ = false;
    };
    text.Replaced.Add(replace);
    text.Appended.Add([this, hwnd](const std::string& more) {
        pushing_ = true;
        // A position past the end is the end, in edit and rich edit controls alike.
        SendMessageA(hwnd, EM_SETSEL, 0x7FFFFFFF, 0x7FFFFFFF);
        SendMessageA(hwnd, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(more.c_str()));
        pushing_ = false;
    });
    text.SelChanged.Add([this, hwnd, &text] {
        pushing_ = true;
        // The control counts a line break as one character; only the end is the same place
        // in both, which is the place the log asks for.
        WPARAM at = text.SelStart() >= text.Text().size() ? 0x7FFFFFFF : text.SelStart();
        SendMessageA(hwnd, EM_SETSEL, at, static_cast<LPARAM>(at));
        SendMessageA(hwnd, EM_SCROLLCARET, 0, 0);
        pushing_ = false;
    });
    replace();
}

bool ControlBinding::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (lParam == 0)
        return false; // menus and accelerators
    auto it = commandHandlers_.find(LOWORD(wParam));
    if (it == commandHandlers_.end())
        return false;
    it->second(HIWORD(wParam));
    return true;
}

bool ControlBinding::OnNotify(LPARAM lParam) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (!header)
        return false;
    auto it = notifyHandlers_.find(static_cast<int>(header->idFrom));
    if (it == notifyHandlers_.end())
        return false;
    it->second(header);
    return true;
}

} // namespace vigil::shell
