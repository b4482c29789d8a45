#pragma once
// The RAS and kernel32 functions the control calls, as a table the Win32 half fills when it
// loads rasapi32 (and tests fill with a RAS of their own). A function left empty is missing:
// calling it is a run-time error, which the calling member's handler deals with like any other.
#include "ringer/ras_records.h"

#include <cstdint>
#include <functional>
#include <string>

namespace ringer {

struct RasFunctions {
    // False when the library itself could not be loaded.
    bool LibraryLoaded = false;
    std::string LibraryName = "rasapi32";

    std::function<std::uint32_t(void* reserved, const char* phoneBook, void* entryNames,
                                std::uint32_t* byteCount, std::uint32_t* entryCount)>
        RasEnumEntriesA;
    std::function<std::uint32_t(void* connections, std::uint32_t* byteCount,
                                std::uint32_t* connectionCount)>
        RasEnumConnectionsA;
    std::function<std::uint32_t(const char* phoneBook, void* dialParams, std::int32_t* password)>
        RasGetEntryDialParamsA;
    std::function<std::uint32_t(RasConnHandle connection, void* status)> RasGetConnectStatusA;
    std::function<std::uint32_t(void* extensions, const char* phoneBook, void* dialParams,
                                std::uint32_t notifierType, void* notifier,
                                RasConnHandle* connection)>
        RasDialA;
    std::function<std::uint32_t(RasConnHandle connection)> RasHangUpA;
    std::function<std::uint32_t(std::uint32_t code, char* buffer, std::uint32_t size)>
        RasGetErrorStringA;
    // kernel32: true on success.
    std::function<bool(OsVersionInfoA* info)> GetVersionExA;
};

// The table as the members call it: every call checks that the function is there.
class RasApi {
public:
    explicit RasApi(RasFunctions functions) : f_(std::move(functions)) {}

    std::uint32_t RasEnumEntriesA(void* entryNames, std::uint32_t* byteCount,
                                  std::uint32_t* entryCount) const;
    std::uint32_t RasEnumConnectionsA(void* connections, std::uint32_t* byteCount,
                                      std::uint32_t* connectionCount) const;
    std::uint32_t RasGetEntryDialParamsA(void* dialParams, std::int32_t* password) const;
    std::uint32_t RasGetConnectStatusA(RasConnHandle connection, void* status) const;
    std::uint32_t RasDialA(void* dialParams, RasConnHandle* connection) const;
    std::uint32_t RasHangUpA(RasConnHandle connection) const;
    std::uint32_t RasGetErrorStringA(std::uint32_t code, char* buffer, std::uint32_t size) const;
    bool GetVersionExA(OsVersionInfoA* info) const;

private:
    // Raises the run-time error of a missing library or function.
    void Require(bool present, const char* function) const;

    RasFunctions f_;
};

// GetVersionExA's platform id: kPlatform9x, kPlatformNT, or 0 for any other platform.
std::uint32_t DetectPlatform(const RasApi& api);

} // namespace ringer
