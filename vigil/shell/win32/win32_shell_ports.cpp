#include "vigil/shell/win32/win32_shell_ports.h"

#include <commdlg.h>
#include <shellapi.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace vigil::shell::win32 {

namespace {
// One name for every session's instance on this desktop: a second start ends at once.
constexpr char kInstanceMutex[] = "Local\\Vigil - Tessaly Ltd - single instance";
} // namespace

bool SetTopMostWindow(HWND hwnd, bool topmost) {
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE;
    if (topmost)
        return SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, flags) != FALSE;
    SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
    return false;
}

std::string DialogFilter(const std::string& filter) {
    std::string result = filter;
    for (char& c : result)
        if (c == '|')
            c = '\0';
    result.push_back('\0');
    result.push_back('\0');
    return result;
}

bool Win32FileOpenDialog::ShowOpen(forms::CommonDialog& dialog) {
    std::vector<char> file(MAX_PATH * 4, '\0');
    dialog.FileName().copy(file.data(), file.size() - 1);
    const std::string filter = DialogFilter(dialog.Filter());
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner_;
    ofn.lpstrFilter = dialog.Filter().empty() ? nullptr : filter.c_str();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER | dialog.Flags();
    if (!GetOpenFileNameA(&ofn))
        return false; // cancelled, or the dialog failed
    dialog.SetFileName(file.data());
    return true;
}

void Win32ShellOpen::Open(const std::string& address) {
    ShellExecuteA(owner_, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

Win32Process::~Win32Process() {
    if (instanceMutex_)
        CloseHandle(instanceMutex_);
}

bool Win32Process::AnotherInstanceRuns() {
    if (instanceMutex_)
        return false;
    SetLastError(ERROR_SUCCESS);
    HANDLE mutex = CreateMutexA(nullptr, FALSE, kInstanceMutex);
    DWORD error = GetLastError();
    if (!mutex)
        return error == ERROR_ACCESS_DENIED; // held by an instance of another user context
    if (error == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return true;
    }
    instanceMutex_ = mutex;
    return false;
}

bool Win32Process::ChangeFolder(const std::string& path) {
    return SetCurrentDirectoryA(path.c_str()) != FALSE;
}

std::string Win32Process::CurrentFolder() const {
    DWORD length = GetCurrentDirectoryA(0, nullptr);
    std::string folder(length, '\0');
    DWORD got = GetCurrentDirectoryA(length, folder.data());
    folder.resize(got < length ? got : 0);
    return folder;
}

std::optional<std::string> Win32Process::ReadTextFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Win32Process::BringMainWindowToFront() {
    SetTopMostWindow(main_, true);
    SetTopMostWindow(main_, false);
}

void Win32Process::EndMessageLoop() {
    PostQuitMessage(0);
}

void Win32Process::EndProgramNow() {
    ExitProcess(0);
}

} // namespace vigil::shell::win32
