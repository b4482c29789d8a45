#include "vigil/forms/win32/control_binding.h"

#include <commctrl.h>
#include <richedit.h>

#include <cmath>
#include <stdexcept>
#include <string>

namespace vigil::forms::win32 {

namespace {

constexpr UINT_PTR kKeySubclassId = 0x5649; // the text boxes' key filter

std::string WindowText(HWND hwnd) {
    int length = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    int got = GetWindowTextA(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
    return text;
}

// A template's caption with its mnemonic marks taken out: "&Add URL" shows "Add URL".
std::string WithoutMnemonic(const std::string& text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size())
            ++i;
        plain += text[i];
    }
    return plain;
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

// Typed characters go through the text box's KeyPress before the edit control sees them.
LRESULT CALLBACK KeyFilterProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR data) {
    if (msg == WM_CHAR) {
        auto* box = reinterpret_cast<TextBox*>(data);
        int code = box->PressKey(static_cast<int>(wParam & 0xFF));
        if (code == 0)
            return 0;
        wParam = static_cast<WPARAM>(code);
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

template <typename T> T& As(Control& control) {
    auto* typed = dynamic_cast<T*>(&control);
    if (!typed)
        throw std::logic_error("binding table: " + control.Name() + " is not of the kind given");
    return *typed;
}

// A "VigilShape" window keeps the shape it draws in its user data.
LRESULT CALLBACK ShapeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        auto* shape = reinterpret_cast<const Shape*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (shape) {
            std::uint32_t rgb = shape->Color();
            COLORREF color = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
            RECT rect;
            GetClientRect(hwnd, &rect);
            HBRUSH brush = CreateSolidBrush(color);
            if (shape->Filled())
                FillRect(dc, &rect, brush);
            else
                FrameRect(dc, &rect, brush);
            DeleteObject(brush);
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

int PointsToPixels(double points) {
    return static_cast<int>(std::lround(points * ScreenDpi() / 72.0));
}

int TwipsToPixels(double twips) {
    return static_cast<int>(std::lround(twips * ScreenDpi() / 1440.0));
}

double PixelsToTwips(int pixels) {
    return pixels * 1440.0 / ScreenDpi();
}

void RegisterShapeClass() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA existing{sizeof(existing)};
    if (GetClassInfoExA(instance, kShapeClass, &existing))
        return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ShapeProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kShapeClass;
    RegisterClassExA(&wc);
}

ControlBinding::~ControlBinding() {
    for (HWND hwnd : subclassed_)
        if (IsWindow(hwnd))
            RemoveWindowSubclass(hwnd, KeyFilterProc, kKeySubclassId);
    for (const auto& [id, slot] : timers_)
        if (IsWindow(slot.owner))
            KillTimer(slot.owner, id);
}

void ControlBinding::BindTable(HWND parent, const std::vector<BindingEntry>& table) {
    for (const auto& entry : table) {
        HWND child = GetDlgItem(parent, entry.id);
        if (!child)
            throw std::logic_error("binding table: no window with the id of " +
                                   entry.control.Name());
        Bind(child, entry.control, entry.kind);
    }
}

void ControlBinding::Bind(HWND hwnd, Control& control, Kind kind) {
    switch (kind) {
    case Kind::Panel:
        return BindPanel(hwnd, control);
    case Kind::Static:
        return BindStatic(hwnd, control);
    case Kind::Button:
        return BindButton(hwnd, As<Button>(control), true);
    case Kind::PictureButton:
        return BindButton(hwnd, As<Button>(control), false);
    case Kind::CheckBox:
        return BindCheckBox(hwnd, As<CheckBox>(control));
    case Kind::TextBox:
        return BindTextBox(hwnd, As<TextBox>(control));
    case Kind::ListBox:
        return BindListBox(hwnd, As<ListBox>(control));
    case Kind::ComboBox:
        return BindComboBox(hwnd, As<ComboBox>(control));
    case Kind::ListView:
        return BindListView(hwnd, As<ListView>(control));
    case Kind::RichText:
        return BindRichText(hwnd, As<RichText>(control));
    case Kind::TabStrip:
        return BindTabStrip(hwnd, As<TabStrip>(control));
    case Kind::Slider:
        return BindSlider(hwnd, As<Slider>(control));
    case Kind::ProgressBar:
        return BindProgressBar(hwnd, As<ProgressBar>(control));
    }
}

void ControlBinding::BindCommonState(HWND hwnd, Control& control, bool mirrorCaption) {
    auto push = [this, hwnd, &control, mirrorCaption] {
        pushing_ = true;
        EnableWindow(hwnd, control.Enabled());
        bool shown = (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
        if (shown != control.Visible())
            ShowWindow(hwnd, control.Visible() ? SW_SHOWNA : SW_HIDE);
        // The template's mnemonic stays as long as the caption is the template's.
        if (mirrorCaption && WithoutMnemonic(WindowText(hwnd)) != control.Caption())
            SetWindowTextA(hwnd, control.Caption().c_str());
        pushing_ = false;
    };
    control.StateChanged.Add(push);
    push();
}

void ControlBinding::BindForm(HWND hwnd, Form& form) {
    auto push = [hwnd, &form] {
        if (WindowText(hwnd) != form.Caption())
            SetWindowTextA(hwnd, form.Caption().c_str());
        bool shown = IsWindowVisible(hwnd) != FALSE;
        bool iconic = IsIconic(hwnd) != FALSE;
        if (form.Visible() && !shown)
            ShowWindow(hwnd,
                       form.State() == WindowState::Minimized ? SW_SHOWMINIMIZED : SW_SHOWNORMAL);
        else if (!form.Visible() && shown)
            ShowWindow(hwnd, SW_HIDE);
        else if (form.Visible() && form.State() == WindowState::Minimized && !iconic)
            ShowWindow(hwnd, SW_MINIMIZE);
        else if (form.Visible() && form.State() == WindowState::Normal && iconic)
            ShowWindow(hwnd, SW_RESTORE);
        if (!form.Visible() && form.State() == WindowState::Normal && iconic) {
            // A hidden window set back to normal comes back normal when shown again.
            WINDOWPLACEMENT place{sizeof(place)};
            GetWindowPlacement(hwnd, &place);
            place.showCmd = SW_HIDE;
            place.flags = 0;
            SetWindowPlacement(hwnd, &place);
            ShowWindow(hwnd, SW_RESTORE);
            ShowWindow(hwnd, SW_HIDE);
        }
        EnableWindow(hwnd, form.Enabled());
        const Bounds& place = form.Place();
        if (place.height > 0) {
            RECT rect;
            GetWindowRect(hwnd, &rect);
            int height = TwipsToPixels(place.height);
            int width = place.width > 0 ? TwipsToPixels(place.width) : rect.right - rect.left;
            if (height != rect.bottom - rect.top || width != rect.right - rect.left)
                SetWindowPos(hwnd, nullptr, 0, 0, width, height,
                             SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    };
    form.StateChanged.Add(push);
    push();
}

void ControlBinding::BindButton(HWND hwnd, Button& button, bool mirrorCaption) {
    BindCommonState(hwnd, button, mirrorCaption);
    commandHandlers_[GetDlgCtrlID(hwnd)] = [&button](int code) {
        if (code == BN_CLICKED)
            button.Click();
    };
}

void ControlBinding::BindCheckBox(HWND hwnd, CheckBox& box) {
    BindCommonState(hwnd, box, true);
    auto push = [this, hwnd, &box] {
        pushing_ = true;
        SendMessageA(hwnd, BM_SETCHECK, box.Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
        pushing_ = false;
    };
    box.Clicked.Add(push);
    push();
    commandHandlers_[GetDlgCtrlID(hwnd)] = [this, hwnd, &box](int code) {
        if (code != BN_CLICKED || pushing_)
            return;
        // The automatic check box has already toggled itself; the control object follows.
        int value = SendMessageA(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
        if (!box.Enabled())
            return;
        box.SetValue(value);
    };
}

void ControlBinding::BindStatic(HWND hwnd, Control& control) {
    BindCommonState(hwnd, control, true);
}

void ControlBinding::BindPanel(HWND hwnd, Control& control) {
    BindCommonState(hwnd, control, false);
}

void ControlBinding::BindTextBox(HWND hwnd, TextBox& box) {
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
    if (SetWindowSubclass(hwnd, KeyFilterProc, kKeySubclassId, reinterpret_cast<DWORD_PTR>(&box)))
        subclassed_.push_back(hwnd);
}

void ControlBinding::FillList(HWND hwnd, const ListBox& list, bool combo) {
    pushing_ = true;
    SendMessageA(hwnd, WM_SETREDRAW, FALSE, 0);
    SendMessageA(hwnd, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
    for (const auto& item : list.Items())
        SendMessageA(hwnd, combo ? CB_ADDSTRING : LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageA(hwnd, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(list.ListIndex()),
                 0);
    if (combo) {
        const auto& text = static_cast<const ComboBox&>(list).Text();
        if (WindowText(hwnd) != text)
            SetWindowTextA(hwnd, text.c_str());
    }
    SendMessageA(hwnd, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd, nullptr, TRUE);
    pushing_ = false;
}

void ControlBinding::BindListBox(HWND hwnd, ListBox& list) {
    BindCommonState(hwnd, list, false);
    list.ItemsChanged.Add([this, hwnd, &list] { FillList(hwnd, list, false); });
    list.Click.Add([this, hwnd, &list] {
        pushing_ = true;
        SendMessageA(hwnd, LB_SETCURSEL, static_cast<WPARAM>(list.ListIndex()), 0);
        pushing_ = false;
    });
    FillList(hwnd, list, false);
    commandHandlers_[GetDlgCtrlID(hwnd)] = [this, hwnd, &list](int code) {
        if (code == LBN_SELCHANGE && !pushing_)
            list.SetListIndex(static_cast<int>(SendMessageA(hwnd, LB_GETCURSEL, 0, 0)));
    };
}

void ControlBinding::BindComboBox(HWND hwnd, ComboBox& box) {
    BindCommonState(hwnd, box, false);
    box.ItemsChanged.Add([this, hwnd, &box] { FillList(hwnd, box, true); });
    box.Click.Add([this, hwnd, &box] {
        pushing_ = true;
        SendMessageA(hwnd, CB_SETCURSEL, static_cast<WPARAM>(box.ListIndex()), 0);
        pushing_ = false;
    });
    box.Change.Add([this, hwnd, &box] {
        if (WindowText(hwnd) == box.Text())
            return;
        pushing_ = true;
        SetWindowTextA(hwnd, box.Text().c_str());
        pushing_ = false;
    });
    FillList(hwnd, box, true);
    commandHandlers_[GetDlgCtrlID(hwnd)] = [this, hwnd, &box](int code) {
        if (pushing_)
            return;
        if (code == CBN_SELCHANGE)
            box.SetListIndex(static_cast<int>(SendMessageA(hwnd, CB_GETCURSEL, 0, 0)));
        else if (code == CBN_EDITCHANGE)
            box.SetText(WindowText(hwnd));
    };
}

void ControlBinding::FillListView(HWND hwnd, const ListView& view) {
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

void ControlBinding::BindListView(HWND hwnd, ListView& view) {
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
    // A status mark rewrites its one cell; refilling every row would cost a whole list's
    // worth of messages per site checked.
    view.CellChanged.Add([this, hwnd, &view](int row, int subItem) {
        const ListViewRow* r = view.Row(row);
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

void ControlBinding::BindRichText(HWND hwnd, RichText& text) {
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

void ControlBinding::BindTabStrip(HWND hwnd, TabStrip& strip) {
    BindCommonState(hwnd, strip, false);
    int index = 0;
    for (const auto& caption : strip.Tabs()) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(caption.c_str());
        SendMessageA(hwnd, TCM_INSERTITEMA, index++, reinterpret_cast<LPARAM>(&item));
    }
    auto push = [this, hwnd, &strip] {
        if (SendMessageA(hwnd, TCM_GETCURSEL, 0, 0) == strip.SelectedIndex())
            return;
        pushing_ = true;
        SendMessageA(hwnd, TCM_SETCURSEL, static_cast<WPARAM>(strip.SelectedIndex()), 0);
        pushing_ = false;
    };
    strip.Click.Add(push);
    push();
    notifyHandlers_[GetDlgCtrlID(hwnd)] = [this, hwnd, &strip](const NMHDR* header) {
        if (header->code == TCN_SELCHANGE && !pushing_)
            strip.ClickTab(static_cast<int>(SendMessageA(hwnd, TCM_GETCURSEL, 0, 0)));
    };
}

void ControlBinding::BindSlider(HWND hwnd, Slider& slider) {
    BindCommonState(hwnd, slider, false);
    auto push = [this, hwnd, &slider] {
        pushing_ = true;
        SendMessageA(hwnd, TBM_SETRANGEMIN, FALSE, slider.Min());
        SendMessageA(hwnd, TBM_SETRANGEMAX, FALSE, slider.Max());
        SendMessageA(hwnd, TBM_SETPOS, TRUE, slider.Value());
        pushing_ = false;
    };
    slider.Change.Add(push);
    slider.StateChanged.Add(push);
    push();
    scrollHandlers_[hwnd] = [this, hwnd, &slider] {
        if (!pushing_)
            slider.SetValue(static_cast<int>(SendMessageA(hwnd, TBM_GETPOS, 0, 0)));
    };
}

void ControlBinding::BindProgressBar(HWND hwnd, ProgressBar& bar) {
    BindCommonState(hwnd, bar, false);
    auto push = [hwnd, &bar] {
        SendMessageA(hwnd, PBM_SETRANGE32, static_cast<WPARAM>(bar.Min()), bar.Max());
        SendMessageA(hwnd, PBM_SETPOS, static_cast<WPARAM>(bar.Value()), 0);
    };
    bar.Change.Add(push);
    bar.StateChanged.Add(push);
    push();
}

void ControlBinding::BindShape(HWND hwnd, Shape& shape, POINT origin) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&shape));
    auto push = [hwnd, &shape, origin] {
        const Bounds& b = shape.Place();
        SetWindowPos(hwnd, nullptr, origin.x + TwipsToPixels(b.left),
                     origin.y + TwipsToPixels(b.top), TwipsToPixels(b.width),
                     TwipsToPixels(b.height), SWP_NOZORDER | SWP_NOACTIVATE);
        ShowWindow(hwnd, shape.Visible() ? SW_SHOWNA : SW_HIDE);
        InvalidateRect(hwnd, nullptr, TRUE);
    };
    shape.StateChanged.Add(push);
    push();
}

void ControlBinding::BindTimer(HWND owner, Timer& timer) {
    UINT_PTR id = nextTimerId_++;
    timers_[id] = {owner, &timer};
    auto push = [owner, id, &timer] {
        if (timer.Enabled() && timer.Interval() > 0)
            SetTimer(owner, id, timer.Interval(), nullptr); // also restarts the interval
        else
            KillTimer(owner, id);
    };
    timer.StateChanged.Add(push);
    push();
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

bool ControlBinding::OnScroll(LPARAM lParam) {
    auto it = scrollHandlers_.find(reinterpret_cast<HWND>(lParam));
    if (it == scrollHandlers_.end())
        return false;
    it->second();
    return true;
}

bool ControlBinding::OnTimer(HWND owner, WPARAM id) {
    auto it = timers_.find(static_cast<UINT_PTR>(id));
    if (it == timers_.end() || it->second.owner != owner)
        return false;
    it->second.timer->Tick();
    return true;
}

} // namespace vigil::forms::win32
