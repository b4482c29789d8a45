#include "vigil/notify/win32/win32_shell_opener.h"

#include <shellapi.h>

namespace vigil::notify::win32 {

void Win32ShellOpener::SetOwner(ShellOwner which, HWND window) {
    (which == ShellOwner::MainWindow ? mainWindow_ : errorWindow_) = window;
}

void Win32ShellOpener::Open(const std::string& target, ShellOwner owner) {
    HWND window = owner == ShellOwner::MainWindow ? mainWindow_ : errorWindow_;
    // The shell shows its own message when nothing can open the target.
    ShellExecuteA(window, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace vigil::notify::win32
