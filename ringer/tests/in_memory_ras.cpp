#include "ringer/tests/in_memory_ras.h"

namespace ringer::testing {

std::shared_ptr<const RasApi> InMemoryRas(InMemorySystem& sys) {
    RasFunctions f;
    f.LibraryLoaded = sys.libraryLoaded;
    auto present = [&sys](const char* name) { return !sys.missingFunctions.count(name); };
    if (present("RasEnumEntriesA"))
        f.RasEnumEntriesA = [&sys](void* reserved, const char* book, void* entries,
                                   std::uint32_t* cb, std::uint32_t* count) {
            return RasPlayer(sys.ras).RasEnumEntriesA(reserved, book, entries, cb, count);
        };
    if (present("RasEnumConnectionsA"))
        f.RasEnumConnectionsA = [&sys](void* conns, std::uint32_t* cb, std::uint32_t* count) {
            return RasPlayer(sys.ras).RasEnumConnectionsA(conns, cb, count);
        };
    if (present("RasGetEntryDialParamsA"))
        f.RasGetEntryDialParamsA = [&sys](const char* book, void* params, std::int32_t* pw) {
            return RasPlayer(sys.ras).RasGetEntryDialParamsA(book, params, pw);
        };
    if (present("RasGetConnectStatusA"))
        f.RasGetConnectStatusA = [&sys](RasConnHandle h, void* status) {
            return RasPlayer(sys.ras).RasGetConnectStatusA(h, status);
        };
    if (present("RasDialA"))
        f.RasDialA = [&sys](void* ext, const char* book, void* params, std::uint32_t type,
                            void* notifier, RasConnHandle* h) {
            return RasPlayer(sys.ras).RasDialA(ext, book, params, type, notifier, h);
        };
    if (present("RasHangUpA"))
        f.RasHangUpA = [&sys](RasConnHandle h) { return RasPlayer(sys.ras).RasHangUpA(h); };
    if (present("RasGetErrorStringA"))
        f.RasGetErrorStringA = [&sys](std::uint32_t code, char* buffer, std::uint32_t size) {
            return RasPlayer(sys.ras).RasGetErrorStringA(code, buffer, size);
        };
    f.GetVersionExA = [&sys](OsVersionInfoA* info) {
        if (info->dwOSVersionInfoSize != 148)
            return false;
        info->dwPlatformId = sys.platformId;
        return true;
    };
    return std::make_shared<const RasApi>(std::move(f));
}

} // namespace ringer::testing
