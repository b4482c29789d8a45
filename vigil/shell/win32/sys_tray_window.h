#pragma once
// The hidden window "frmSysTray" that owns the notification-area icon: it hands the icon
// record to Shell_NotifyIconA, receives the shell's callback message and pops up the menu.
// The component's logic is frmSysTray; this class is its platform.
#include "vigil/shell/sys_tray.h"
#include "vigil/shell/tray_menu.h"

#include <windows.h>

#include <shellapi.h>

#include <string>

namespace vigil::shell {

// The classic icon record: cbSize, hWnd, uID, uFlags, uCallbackMessage, hIcon and a tip of
// 64 characters. Its size is the platform's own (88 bytes on the 32-bit build).
inline constexpr DWORD kNotifyIconRecordSize = NOTIFYICONDATAA_V1_SIZE;
#if defined(__i386__) || defined(_M_IX86)
static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "the 8-bit icon record is 88 bytes");
static_assert(offsetof(NOTIFYICONDATAA, szTip) == 24, "the tip follows six 32-bit fields");
#endif

// The record as the shell receives it.
NOTIFYICONDATAA ToNotifyIconData(const NotifyIconRecord& record);

class SysTrayWindow final : public TrayShell {
public:
    // Creates the hidden window with icon as its own icon and adds the tray icon.
    SysTrayWindow(HICON icon, const std::string& tip);
    SysTrayWindow(const SysTrayWindow&) = delete;
    SysTrayWindow& operator=(const SysTrayWindow&) = delete;
    // Deletes the icon, then the window.
    ~SysTrayWindow() override;

    frmSysTray& Tray() { return tray_; }
    HWND Handle() const { return hwnd_; }
    // Whether the shell accepted the last request (the component itself does not look).
    bool LastNotifySucceeded() const { return lastNotify_; }

    void NotifyIcon(NotifyIconAction action, const NotifyIconRecord& record) override;
    void SetForeground() override;
    int TrackPopupMenu(const std::vector<PopupMenuLine>& lines, int boldIndex) override;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    bool lastNotify_ = false;
    frmSysTray tray_{*this};
};

// The icon resources of the program by name, loaded with LoadIcon (shared: no handle to free).
class Win32IconLibrary final : public IconLibrary {
public:
    explicit Win32IconLibrary(HINSTANCE instance) : instance_(instance) {}
    std::uintptr_t LoadIconResource(const std::string& name) override;

private:
    HINSTANCE instance_;
};

} // namespace vigil::shell
