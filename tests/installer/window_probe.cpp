// Looks at a running program from outside, the way the installer test needs it:
//   window_probe folder "<caption>" <ms>  waits for a top-level window with that caption and
//                                         prints the current folder of the process that owns it
//   window_probe gone "<caption>" <ms>    waits until no top-level window has that caption
// Exit code 0 on success, 1 when the wait ran out, 2 for bad arguments or a failed read.
// Built with the same bitness as the program it looks at: the process parameters are read
// in this program's own layout.
#include <windows.h>

#include <winternl.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// The head of RTL_USER_PROCESS_PARAMETERS up to the current folder; natural alignment gives
// the platform's offsets (0x24 on i686, 0x38 on x86_64).
struct ProcessParametersHead {
    ULONG maximumLength;
    ULONG length;
    ULONG flags;
    ULONG debugFlags;
    HANDLE consoleHandle;
    ULONG consoleFlags;
    HANDLE standardInput;
    HANDLE standardOutput;
    HANDLE standardError;
    UNICODE_STRING currentDirectory;
    HANDLE currentDirectoryHandle;
};

#ifdef _WIN64
static_assert(offsetof(ProcessParametersHead, currentDirectory) == 0x38);
#else
static_assert(offsetof(ProcessParametersHead, currentDirectory) == 0x24);
#endif

using NtQueryInformationProcessFn = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG,
                                                     PULONG);

template <typename T> bool ReadRemote(HANDLE process, const void* address, T& value) {
    SIZE_T read = 0;
    return ReadProcessMemory(process, address, &value, sizeof(value), &read) &&
           read == sizeof(value);
}

bool CurrentFolderOf(DWORD processId, std::wstring& folder) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process)
        return false;
    bool ok = false;
    auto query = reinterpret_cast<NtQueryInformationProcessFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    PEB peb{};
    ProcessParametersHead parameters{};
    if (query && query(process, ProcessBasicInformation, &basic, sizeof(basic), nullptr) == 0 &&
        ReadRemote(process, basic.PebBaseAddress, peb) &&
        ReadRemote(process, peb.ProcessParameters, parameters)) {
        folder.resize(parameters.currentDirectory.Length / sizeof(wchar_t));
        SIZE_T read = 0;
        ok = ReadProcessMemory(process, parameters.currentDirectory.Buffer, folder.data(),
                               parameters.currentDirectory.Length, &read) &&
             read == parameters.currentDirectory.Length;
    }
    CloseHandle(process);
    return ok;
}

std::string Utf8(const std::wstring& text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                   0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: window_probe folder|gone \"caption\" milliseconds\n");
        return 2;
    }
    const std::string mode = argv[1];
    const char* caption = argv[2];
    const DWORD limit = static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10));
    const bool wantWindow = mode == "folder";
    if (!wantWindow && mode != "gone") {
        std::fprintf(stderr, "window_probe: unknown mode '%s'\n", mode.c_str());
        return 2;
    }
    const DWORD start = GetTickCount();
    for (;;) {
        HWND window = FindWindowA(nullptr, caption);
        if (!wantWindow && !window)
            return 0;
        if (wantWindow && window) {
            DWORD processId = 0;
            GetWindowThreadProcessId(window, &processId);
            std::wstring folder;
            if (!CurrentFolderOf(processId, folder)) {
                std::fprintf(stderr, "window_probe: cannot read the current folder of %lu\n",
                             processId);
                return 2;
            }
            std::printf("%s\n", Utf8(folder).c_str());
            return 0;
        }
        if (GetTickCount() - start >= limit) {
            std::fprintf(stderr, "window_probe: still %s after %lu ms: \"%s\"\n",
                         wantWindow ? "no window" : "a window", limit, caption);
            return 1;
        }
        Sleep(100);
    }
}
