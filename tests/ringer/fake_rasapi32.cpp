// A rasapi32.dll of our own for the tests: it plays the phone book, live connections and dial
// and hang-up outcomes written in the scenario file named by RINGER_FAKE_SCENARIO, and writes
// the state back after every call (new connections, hang-ups, the calls it saw and any size or
// byte-count fault), so a test reads what happened from the same file.
#include "ringer/tests/ras_player.h"

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

using ringer::testing::RasPlayer;
using ringer::testing::RasScenario;

namespace {

constexpr DWORD kErrorCannotOpenPhoneBook = 621;

std::string ScenarioPath() {
    char path[MAX_PATH * 2] = {};
    DWORD length = GetEnvironmentVariableA("RINGER_FAKE_SCENARIO", path, sizeof(path));
    return length > 0 && length < sizeof(path) ? std::string(path, length) : std::string();
}

// Loads the scenario, runs one call against it and saves it again.
template <typename Call> DWORD Play(Call call) {
    const std::string path = ScenarioPath();
    std::ifstream in(path, std::ios::binary);
    if (path.empty() || !in)
        return kErrorCannotOpenPhoneBook;
    std::stringstream text;
    text << in.rdbuf();
    in.close();
    RasScenario scenario = RasScenario::Parse(text.str());
    RasPlayer player(scenario);
    DWORD result = call(player);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << scenario.Serialize();
    return result;
}

} // namespace

extern "C" {

DWORD WINAPI RasEnumEntriesA(LPCSTR reserved, LPCSTR phoneBook, void* entries, LPDWORD cb,
                             LPDWORD count) {
    return Play([&](RasPlayer& p) {
        std::uint32_t bytes = cb ? *cb : 0, n = 0;
        DWORD r = p.RasEnumEntriesA(reserved, phoneBook, entries, cb ? &bytes : nullptr,
                                    count ? &n : nullptr);
        if (cb)
            *cb = bytes;
        if (count)
            *count = n;
        return r;
    });
}

DWORD WINAPI RasEnumConnectionsA(void* connections, LPDWORD cb, LPDWORD count) {
    return Play([&](RasPlayer& p) {
        std::uint32_t bytes = cb ? *cb : 0, n = 0;
        DWORD r = p.RasEnumConnectionsA(connections, cb ? &bytes : nullptr, count ? &n : nullptr);
        if (cb)
            *cb = bytes;
        if (count)
            *count = n;
        return r;
    });
}

DWORD WINAPI RasGetEntryDialParamsA(LPCSTR phoneBook, void* params, LPBOOL passwordSaved) {
    return Play([&](RasPlayer& p) {
        std::int32_t saved = 0;
        DWORD r = p.RasGetEntryDialParamsA(phoneBook, params, &saved);
        if (passwordSaved)
            *passwordSaved = saved;
        return r;
    });
}

DWORD WINAPI RasGetConnectStatusA(HANDLE connection, void* status) {
    return Play([&](RasPlayer& p) {
        return p.RasGetConnectStatusA(reinterpret_cast<std::uintptr_t>(connection), status);
    });
}

DWORD WINAPI RasDialA(void* extensions, LPCSTR phoneBook, void* params, DWORD notifierType,
                      LPVOID notifier, HANDLE* connection) {
    return Play([&](RasPlayer& p) {
        std::uintptr_t handle = 0;
        DWORD r = p.RasDialA(extensions, phoneBook, params, notifierType, notifier,
                             connection ? &handle : nullptr);
        if (connection)
            *connection = reinterpret_cast<HANDLE>(handle);
        return r;
    });
}

DWORD WINAPI RasHangUpA(HANDLE connection) {
    return Play(
        [&](RasPlayer& p) { return p.RasHangUpA(reinterpret_cast<std::uintptr_t>(connection)); });
}

DWORD WINAPI RasGetErrorStringA(UINT code, LPSTR buffer, DWORD size) {
    return Play([&](RasPlayer& p) { return p.RasGetErrorStringA(code, buffer, size); });
}

} // extern "C"
