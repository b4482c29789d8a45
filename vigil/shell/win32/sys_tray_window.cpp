#include "vigil/shell/win32/sys_tray_window.h"

#include <cstring>

namespace vigil::shell {

namespace {
constexpr char kClassName[] = "frmSysTray";
constexpr char kCaption[] = "Sys Tray Interface";

void RegisterTrayClass(HINSTANCE instance, WNDPROC proc, HICON icon) {
    WNDCLASSEXA existing{sizeof(existing)};
    if (GetClassInfoExA(instance, kClassName, &existing))
        return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.lpszClassName = kClassName;
    RegisterClassExA(&wc);
}

struct PopupMenu {
    HMENU menu = CreatePopupMenu();
    ~PopupMenu() {
        if (menu)
            DestroyMenu(menu);
    }
};
} // namespace

NOTIFYICONDATAA ToNotifyIconData(const NotifyIconRecord& record) {
    NOTIFYICONDATAA data{};
    data.cbSize = kNotifyIconRecordSize;
    data.hWnd = reinterpret_cast<HWND>(record.hWnd);
    data.uID = record.uID;
    data.uFlags = record.uFlags;
    data.uCallbackMessage = record.uCallbackMessage;
    data.hIcon = reinterpret_cast<HICON>(record.hIcon);
    static_assert(sizeof(data.szTip) >= kTipChars);
    std::memcpy(data.szTip, record.szTip.data(), std::min(record.szTip.size(), kTipChars));
    data.szTip[kTipChars - 1] = '\0'; // the field always ends inside the classic 64
    return data;
}

SysTrayWindow::SysTrayWindow(HICON icon, const std::string& tip) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterTrayClass(instance, &SysTrayWindow::Proc, icon);
    hwnd_ = CreateWindowExA(0, kClassName, kCaption, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                            instance, this);
    tray_.Load(reinterpret_cast<std::uintptr_t>(hwnd_), reinterpret_cast<std::uintptr_t>(icon),
               tip);
}

SysTrayWindow::~SysTrayWindow() {
    tray_.Unload();
    if (hwnd_)
        DestroyWindow(hwnd_);
}

void SysTrayWindow::NotifyIcon(NotifyIconAction action, const NotifyIconRecord& record) {
    NOTIFYICONDATAA data = ToNotifyIconData(record);
    DWORD message = action == NotifyIconAction::Add      ? NIM_ADD
                    : action == NotifyIconAction::Modify ? NIM_MODIFY
                                                         : NIM_DELETE;
    lastNotify_ = Shell_NotifyIconA(message, &data) != FALSE;
}

void SysTrayWindow::SetForeground() {
    SetForegroundWindow(hwnd_);
}

int SysTrayWindow::TrackPopupMenu(const std::vector<PopupMenuLine>& lines, int boldIndex) {
    PopupMenu popup;
    if (!popup.menu)
        return -1;
    // Command ids are the item's index plus one: 0 is what TrackPopupMenu returns for none.
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const PopupMenuLine& line = lines[i];
        if (!line.visible)
            continue;
        UINT_PTR id = i + 1;
        if (line.caption == "-") {
            AppendMenuA(popup.menu, MF_SEPARATOR, id, nullptr);
            continue;
        }
        AppendMenuA(popup.menu, MF_STRING | (line.enabled ? MF_ENABLED : MF_GRAYED), id,
                    line.caption.c_str());
    }
    if (boldIndex >= 0 && static_cast<std::size_t>(boldIndex) < lines.size() &&
        lines[static_cast<std::size_t>(boldIndex)].visible)
        SetMenuDefaultItem(popup.menu, static_cast<UINT>(boldIndex + 1), FALSE);
    POINT at{};
    GetCursorPos(&at);
    int chosen = ::TrackPopupMenu(popup.menu, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x,
                                  at.y, 0, hwnd_, nullptr);
    // Without a message after it, a second pop-up from the tray closes at once.
    PostMessageA(hwnd_, WM_NULL, 0, 0);
    return chosen > 0 ? chosen - 1 : -1;
}

LRESULT CALLBACK SysTrayWindow::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<SysTrayWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        if (self)
            self->hwnd_ = nullptr;
    } else if (self && msg == kTrayCallbackMessage) {
        // The shell's callback arrives as a mouse move with the mouse message in lParam.
        self->tray_.OnTrayCallback(static_cast<std::uint32_t>(LOWORD(lParam)));
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

std::uintptr_t Win32IconLibrary::LoadIconResource(const std::string& name) {
    return reinterpret_cast<std::uintptr_t>(LoadIconA(instance_, name.c_str()));
}

} // namespace vigil::shell
