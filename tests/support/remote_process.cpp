#include "tests/support/remote_process.h"

#include <commctrl.h>

#include <vector>

namespace testenv {

RemoteProcess::RemoteProcess(const std::string& commandLine, const std::string& folder) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info_))
        info_ = {};
}

RemoteProcess::~RemoteProcess() {
    if (!info_.hProcess)
        return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

namespace {
struct FindArgs {
    DWORD pid;
    const std::string* caption;
    HWND found;
};

BOOL CALLBACK FindTopLevel(HWND hwnd, LPARAM lParam) {
    auto* args = reinterpret_cast<FindArgs*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == args->pid && TextOf(hwnd) == *args->caption) {
        args->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// A block of memory in another process, freed on scope exit.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, SIZE_T size)
        : process_(process),
          address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
    ~RemoteBuffer() {
        if (address_)
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    char* Address() const { return static_cast<char*>(address_); }
    bool Write(SIZE_T offset, const void* data, SIZE_T size) const {
        return WriteProcessMemory(process_, Address() + offset, data, size, nullptr);
    }
    bool Read(SIZE_T offset, void* data, SIZE_T size) const {
        return ReadProcessMemory(process_, Address() + offset, data, size, nullptr);
    }

private:
    HANDLE process_;
    void* address_;
};
} // namespace

std::string TextOf(HWND hwnd) {
    char buffer[1024] = {};
    SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof(buffer), reinterpret_cast<LPARAM>(buffer),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    return buffer;
}

HWND RemoteProcess::WaitForWindow(const std::string& caption, DWORD timeoutMs) const {
    const DWORD start = GetTickCount();
    do {
        FindArgs args{info_.dwProcessId, &caption, nullptr};
        EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&args));
        if (args.found)
            return args.found;
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

long RemoteProcess::WaitForExit(DWORD timeoutMs) const {
    if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return static_cast<long>(code);
}

int RemoteProcess::ListViewCount(HWND listView) const {
    return static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0));
}

std::string RemoteProcess::ListViewText(HWND listView, int item, int subItem) const {
    constexpr SIZE_T kText = 512;
    RemoteBuffer remote(info_.hProcess, sizeof(LVITEMA) + kText);
    if (!remote.Address())
        return "<no memory>";
    LVITEMA lvi{};
    lvi.iSubItem = subItem;
    lvi.cchTextMax = kText;
    lvi.pszText = remote.Address() + sizeof(LVITEMA);
    char zero = 0;
    remote.Write(0, &lvi, sizeof(lvi));
    remote.Write(sizeof(LVITEMA), &zero, 1);
    SendMessageA(listView, LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(remote.Address()));
    char text[kText] = {};
    remote.Read(sizeof(LVITEMA), text, kText - 1);
    return text;
}

bool RemoteProcess::ListViewSelect(HWND listView, int item) const {
    RemoteBuffer remote(info_.hProcess, sizeof(LVITEMA));
    if (!remote.Address())
        return false;
    LVITEMA lvi{};
    lvi.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    lvi.state = LVIS_SELECTED | LVIS_FOCUSED;
    remote.Write(0, &lvi, sizeof(lvi));
    return SendMessageA(listView, LVM_SETITEMSTATE, item,
                        reinterpret_cast<LPARAM>(remote.Address())) != 0;
}

} // namespace testenv
