#pragma once
// The Remote Access Service records, ANSI, in the two layouts the control speaks: the
// Windows 9x family's and the NT family's (the NT 3.51-compatible one, whose short fields
// every NT release accepts). Each record starts with its size, which the caller sets.
//
// The connection handle is pointer-sized, as RAS declares it: on 32-bit builds the records
// are exactly the classic ones (pinned below); a 64-bit build gets the wider handle and the
// padding that comes with it instead of a truncated handle.
#include <cstddef>
#include <cstdint>

namespace ringer {

using RasConnHandle = std::uintptr_t;

struct RasEntryName9x {
    std::uint32_t dwSize;
    char szEntryName[257];
};
struct RasEntryNameNT {
    std::uint32_t dwSize;
    char szEntryName[21];
};

struct RasConn9x {
    std::uint32_t dwSize;
    RasConnHandle hrasconn;
    char szEntryName[257];
    char szDeviceType[17];
    char szDeviceName[129];
};
struct RasConnNT {
    std::uint32_t dwSize;
    RasConnHandle hrasconn;
    char szEntryName[21];
};

struct RasConnStatus9x {
    std::uint32_t dwSize;
    std::uint32_t rasconnstate;
    std::uint32_t dwError;
    char szDeviceType[17];
    char szDeviceName[129];
};
struct RasConnStatusNT {
    std::uint32_t dwSize;
    std::uint32_t rasconnstate;
    std::uint32_t dwError;
    char szDeviceType[17];
    char szDeviceName[33];
};

struct RasDialParams9x {
    std::uint32_t dwSize;
    char szEntryName[257];
    char szPhoneNumber[129];
    char szCallbackNumber[129];
    char szUserName[257];
    char szPassword[257];
    char szDomain[16];
};
struct RasDialParamsNT {
    std::uint32_t dwSize;
    char szEntryName[21];
    char szPhoneNumber[129];
    char szCallbackNumber[49];
    char szUserName[257];
    char szPassword[257];
    char szDomain[16];
};

// OSVERSIONINFOA: five 32-bit fields and the 128-character service-pack text.
struct OsVersionInfoA {
    std::uint32_t dwOSVersionInfoSize;
    std::uint32_t dwMajorVersion;
    std::uint32_t dwMinorVersion;
    std::uint32_t dwBuildNumber;
    std::uint32_t dwPlatformId;
    char szCSDVersion[128];
};

// Records without a handle are the same on every build.
static_assert(sizeof(RasEntryName9x) == 264 && sizeof(RasEntryNameNT) == 28);
static_assert(sizeof(RasConnStatus9x) == 160 && sizeof(RasConnStatusNT) == 64);
static_assert(sizeof(RasDialParams9x) == 1052 && sizeof(RasDialParamsNT) == 736);
static_assert(sizeof(OsVersionInfoA) == 148);
#if UINTPTR_MAX == 0xFFFFFFFFu
// 32-bit: the classic layouts, handle at offset 4.
static_assert(sizeof(RasConn9x) == 412 && sizeof(RasConnNT) == 32);
static_assert(offsetof(RasConn9x, szEntryName) == 8 && offsetof(RasConnNT, szEntryName) == 8);
#else
static_assert(sizeof(RasConn9x) == 424 && sizeof(RasConnNT) == 40);
static_assert(offsetof(RasConn9x, szEntryName) == 16 && offsetof(RasConnNT, szEntryName) == 16);
#endif

// Enumeration buffers hold this many records; the byte count offered to RAS may be smaller.
inline constexpr std::uint32_t kBufferRecords = 256;

inline constexpr std::uint32_t kPlatform9x = 1;
inline constexpr std::uint32_t kPlatformNT = 2;

// Everything that differs between the families: the records and how many of them each call
// site offers to RAS.
struct Family9x {
    static constexpr std::uint32_t Platform = kPlatform9x;
    using EntryName = RasEntryName9x;
    using Conn = RasConn9x;
    using ConnStatus = RasConnStatus9x;
    using DialParams = RasDialParams9x;
    static constexpr std::uint32_t EntryListRecords = 256;
    static constexpr std::uint32_t ProbeRecords = 256;
    static constexpr std::uint32_t StateRecords = 256;
    static constexpr std::uint32_t HangUpRecords = 256;
};
struct FamilyNT {
    static constexpr std::uint32_t Platform = kPlatformNT;
    using EntryName = RasEntryNameNT;
    using Conn = RasConnNT;
    using ConnStatus = RasConnStatusNT;
    using DialParams = RasDialParamsNT;
    static constexpr std::uint32_t EntryListRecords = 20;
    static constexpr std::uint32_t ProbeRecords = 256;
    static constexpr std::uint32_t StateRecords = 20;
    static constexpr std::uint32_t HangUpRecords = 20;
};

} // namespace ringer
