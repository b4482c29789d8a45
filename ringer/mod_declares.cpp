#include "ringer/mod_declares.h"

#include "ringer/ringer_error.h"

namespace ringer {

void RasApi::Require(bool present, const char* function) const {
    if (!f_.LibraryLoaded)
        throw RingerError(53, kRuntimeSource, "File not found: " + f_.LibraryName);
    if (!present)
        throw RingerError(453, kRuntimeSource,
                          std::string("Can't find DLL entry point ") + function + " in " +
                              f_.LibraryName);
}

std::uint32_t RasApi::RasEnumEntriesA(void* entryNames, std::uint32_t* byteCount,
                                      std::uint32_t* entryCount) const {
    Require(bool(f_.RasEnumEntriesA), "RasEnumEntriesA");
    return f_.RasEnumEntriesA(nullptr, nullptr, entryNames, byteCount, entryCount);
}

std::uint32_t RasApi::RasEnumConnectionsA(void* connections, std::uint32_t* byteCount,
                                          std::uint32_t* connectionCount) const {
    Require(bool(f_.RasEnumConnectionsA), "RasEnumConnectionsA");
    return f_.RasEnumConnectionsA(connections, byteCount, connectionCount);
}

std::uint32_t RasApi::RasGetEntryDialParamsA(void* dialParams, std::int32_t* password) const {
    Require(bool(f_.RasGetEntryDialParamsA), "RasGetEntryDialParamsA");
    return f_.RasGetEntryDialParamsA(nullptr, dialParams, password);
}

std::uint32_t RasApi::RasGetConnectStatusA(RasConnHandle connection, void* status) const {
    Require(bool(f_.RasGetConnectStatusA), "RasGetConnectStatusA");
    return f_.RasGetConnectStatusA(connection, status);
}

std::uint32_t RasApi::RasDialA(void* dialParams, RasConnHandle* connection) const {
    Require(bool(f_.RasDialA), "RasDialA");
    return f_.RasDialA(nullptr, nullptr, dialParams, 0, nullptr, connection);
}

std::uint32_t RasApi::RasHangUpA(RasConnHandle connection) const {
    Require(bool(f_.RasHangUpA), "RasHangUpA");
    return f_.RasHangUpA(connection);
}

std::uint32_t RasApi::RasGetErrorStringA(std::uint32_t code, char* buffer,
                                         std::uint32_t size) const {
    Require(bool(f_.RasGetErrorStringA), "RasGetErrorStringA");
    return f_.RasGetErrorStringA(code, buffer, size);
}

bool RasApi::GetVersionExA(OsVersionInfoA* info) const {
    // kernel32 is always there; an empty entry only means "no version information".
    return f_.GetVersionExA && f_.GetVersionExA(info);
}

std::uint32_t DetectPlatform(const RasApi& api) {
    OsVersionInfoA info{};
    info.dwOSVersionInfoSize = sizeof(OsVersionInfoA);
    if (!api.GetVersionExA(&info))
        return 0;
    if (info.dwPlatformId == kPlatform9x || info.dwPlatformId == kPlatformNT)
        return info.dwPlatformId;
    return 0;
}

} // namespace ringer
