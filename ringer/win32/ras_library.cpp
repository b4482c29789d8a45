#include "ringer/win32/ras_library.h"

#include "common/win32/handles.h"

#include <windows.h>

namespace ringer::win32 {

namespace {

using RasEnumEntriesFn = DWORD(WINAPI*)(LPCSTR, LPCSTR, void*, LPDWORD, LPDWORD);
using RasEnumConnectionsFn = DWORD(WINAPI*)(void*, LPDWORD, LPDWORD);
using RasGetEntryDialParamsFn = DWORD(WINAPI*)(LPCSTR, void*, LPBOOL);
using RasGetConnectStatusFn = DWORD(WINAPI*)(HANDLE, void*);
using RasDialFn = DWORD(WINAPI*)(void*, LPCSTR, void*, DWORD, LPVOID, HANDLE*);
using RasHangUpFn = DWORD(WINAPI*)(HANDLE);
using RasGetErrorStringFn = DWORD(WINAPI*)(UINT, LPSTR, DWORD);

static_assert(sizeof(OsVersionInfoA) == sizeof(OSVERSIONINFOA));
static_assert(sizeof(RasConnHandle) == sizeof(HANDLE));
#if !defined(_WIN64)
// The release build speaks exactly the classic records.
static_assert(sizeof(RasEntryName9x) == 264 && sizeof(RasEntryNameNT) == 28);
static_assert(sizeof(RasConn9x) == 412 && sizeof(RasConnNT) == 32);
static_assert(sizeof(RasConnStatus9x) == 160 && sizeof(RasConnStatusNT) == 64);
static_assert(sizeof(RasDialParams9x) == 1052 && sizeof(RasDialParamsNT) == 736);
#endif

// Owns the loaded library; the table's functions hold it.
struct Library {
    common::UniqueHmodule module;
    template <typename Fn> Fn Find(const char* name) const {
        return module ? reinterpret_cast<Fn>(
                            reinterpret_cast<void*>(GetProcAddress(module.Get(), name)))
                      : nullptr;
    }
};

} // namespace

std::shared_ptr<const RasApi> LoadRasApi() {
    auto library = std::make_shared<Library>();
    library->module.Reset(LoadLibraryA("rasapi32.dll"));

    RasFunctions f;
    f.LibraryLoaded = static_cast<bool>(library->module);
    if (auto fn = library->Find<RasEnumEntriesFn>("RasEnumEntriesA"))
        f.RasEnumEntriesA = [library, fn](void* reserved, const char* book, void* entries,
                                          std::uint32_t* cb, std::uint32_t* count) {
            DWORD bytes = *cb, n = *count;
            DWORD result = fn(static_cast<LPCSTR>(reserved), book, entries, &bytes, &n);
            *cb = bytes;
            *count = n;
            return static_cast<std::uint32_t>(result);
        };
    if (auto fn = library->Find<RasEnumConnectionsFn>("RasEnumConnectionsA"))
        f.RasEnumConnectionsA = [library, fn](void* connections, std::uint32_t* cb,
                                              std::uint32_t* count) {
            DWORD bytes = *cb, n = *count;
            DWORD result = fn(connections, &bytes, &n);
            *cb = bytes;
            *count = n;
            return static_cast<std::uint32_t>(result);
        };
    if (auto fn = library->Find<RasGetEntryDialParamsFn>("RasGetEntryDialParamsA"))
        f.RasGetEntryDialParamsA = [library, fn](const char* book, void* params,
                                                 std::int32_t* password) {
            BOOL saved = FALSE;
            DWORD result = fn(book, params, &saved);
            *password = saved;
            return static_cast<std::uint32_t>(result);
        };
    if (auto fn = library->Find<RasGetConnectStatusFn>("RasGetConnectStatusA"))
        f.RasGetConnectStatusA = [library, fn](RasConnHandle connection, void* status) {
            return static_cast<std::uint32_t>(fn(reinterpret_cast<HANDLE>(connection), status));
        };
    if (auto fn = library->Find<RasDialFn>("RasDialA"))
        f.RasDialA = [library, fn](void* extensions, const char* book, void* params,
                                   std::uint32_t notifierType, void* notifier,
                                   RasConnHandle* connection) {
            HANDLE handle = nullptr;
            DWORD result = fn(extensions, book, params, notifierType, notifier, &handle);
            *connection = reinterpret_cast<RasConnHandle>(handle);
            return static_cast<std::uint32_t>(result);
        };
    if (auto fn = library->Find<RasHangUpFn>("RasHangUpA"))
        f.RasHangUpA = [library, fn](RasConnHandle connection) {
            return static_cast<std::uint32_t>(fn(reinterpret_cast<HANDLE>(connection)));
        };
    if (auto fn = library->Find<RasGetErrorStringFn>("RasGetErrorStringA"))
        f.RasGetErrorStringA = [library, fn](std::uint32_t code, char* buffer, std::uint32_t size) {
            return static_cast<std::uint32_t>(fn(code, buffer, size));
        };
    f.GetVersionExA = [](OsVersionInfoA* info) {
        return GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(info)) != FALSE;
    };
    return std::make_shared<const RasApi>(std::move(f));
}

} // namespace ringer::win32
