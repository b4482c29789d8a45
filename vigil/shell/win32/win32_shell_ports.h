#pragma once
// The shell's ports on the platform: the common open dialog, ShellExecuteA, and the process
// (single-instance mutex, current folder, files, SetTopMostWindow, ending the program).
#include "vigil/shell/shell_ports.h"

#include <windows.h>

namespace vigil::shell::win32 {

// SetWindowPos with HWND_TOPMOST (true: returns the call's result) or HWND_NOTOPMOST (false:
// returns false), no move, no size.
bool SetTopMostWindow(HWND hwnd, bool topmost);

// "Description|*.ext|..." as the open dialog's filter: pairs ending in NUL, then one more NUL.
std::string DialogFilter(const std::string& filter);

class Win32FileOpenDialog : public FileOpenDialog {
public:
    void SetOwner(HWND owner) { owner_ = owner; }
    bool ShowOpen(forms::CommonDialog& dialog) override;

private:
    HWND owner_ = nullptr;
};

class Win32ShellOpen : public ShellOpen {
public:
    void SetOwner(HWND owner) { owner_ = owner; }
    void Open(const std::string& address) override;

private:
    HWND owner_ = nullptr;
};

class Win32Process : public ProcessPort {
public:
    Win32Process() = default;
    Win32Process(const Win32Process&) = delete;
    Win32Process& operator=(const Win32Process&) = delete;
    ~Win32Process() override;

    void SetMainWindow(HWND hwnd) { main_ = hwnd; }

    bool AnotherInstanceRuns() override;
    bool ChangeFolder(const std::string& path) override;
    std::string CurrentFolder() const override;
    std::optional<std::string> ReadTextFile(const std::string& name) override;
    void BringMainWindowToFront() override;
    void EndMessageLoop() override;
    void EndProgramNow() override;

private:
    HWND main_ = nullptr;
    HANDLE instanceMutex_ = nullptr;
};

} // namespace vigil::shell::win32
