#pragma once
// The shell's "open" (ShellExecuteA), owned by the main or the error window.
#include "vigil/notify/report_ports.h"

#include <windows.h>

namespace vigil::notify::win32 {

class Win32ShellOpener : public ShellOpener {
public:
    void SetOwner(ShellOwner which, HWND window);
    void Open(const std::string& target, ShellOwner owner) override;

private:
    HWND mainWindow_ = nullptr;
    HWND errorWindow_ = nullptr;
};

} // namespace vigil::notify::win32
