#pragma once
// Drives a program's real windows from a test: starts it, finds its windows, and reads and
// writes common-control structures that must live in the program's own memory.
#include <windows.h>

#include <string>

namespace testenv {

class RemoteProcess {
public:
    // Starts the program with the given command line in the given folder.
    RemoteProcess(const std::string& commandLine, const std::string& folder);
    ~RemoteProcess(); // ends the program if it still runs
    RemoteProcess(const RemoteProcess&) = delete;
    RemoteProcess& operator=(const RemoteProcess&) = delete;

    bool Started() const { return info_.hProcess != nullptr; }
    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Process() const { return info_.hProcess; }

    // Waits up to timeoutMs for a top-level window of this process with the caption.
    HWND WaitForWindow(const std::string& caption, DWORD timeoutMs) const;
    // Waits up to timeoutMs for the program to end; returns its exit code or -1.
    long WaitForExit(DWORD timeoutMs) const;

    // List-view access across the process boundary.
    int ListViewCount(HWND listView) const;
    std::string ListViewText(HWND listView, int item, int subItem) const;
    bool ListViewSelect(HWND listView, int item) const;

private:
    PROCESS_INFORMATION info_{};
};

// The text of a window, read with WM_GETTEXT (which Wine and Windows carry across processes).
std::string TextOf(HWND hwnd);

} // namespace testenv
