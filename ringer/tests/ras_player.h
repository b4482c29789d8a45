#pragma once
// A Remote Access Service played from a scenario: a phone book, live connections (whose
// status call may fail), and the outcome of each dial and hang-up. It speaks the records of
// one family at the raw byte level, with the sizes and offsets written out here on their own,
// and refuses a call whose size field or byte count does not match that family: the fault is
// noted in the scenario and the call fails as RAS would.
//
// The host tests call it in memory; the test rasapi32.dll wraps it around a scenario file.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace ringer::testing {

struct LiveConnection {
    std::uint64_t handle = 0;
    std::string name;
    bool statusFails = false;
    std::uint32_t hangUpResult = 0;
};

struct RasScenario {
    std::uint32_t family = 2; // 1: Windows 9x records, 2: NT records
    std::vector<std::string> entries;
    std::vector<LiveConnection> live;
    std::map<std::string, std::uint32_t> dialResults; // entry name -> RasDialA result
    std::map<std::uint32_t, std::string> errorTexts;  // RAS code -> text
    std::uint32_t enumConnectionsResult = 0;          // forced failure of RasEnumConnectionsA
    std::vector<std::string> faults;                  // size or byte-count faults seen
    std::vector<std::string> calls;                   // "RasDialA Office", "RasHangUpA 17"

    // One item a line, fields separated by '|':
    //   family|9x or family|nt      entry|<name>          live|<handle>|<name>[|statusfails]
    //   dial|<name>|<code>          hangup|<handle>|<code>
    //   errortext|<code>|<text>     enumconnections|<code>
    //   fault|<text>                call|<text>
    static RasScenario Parse(const std::string& text);
    std::string Serialize() const;
};

// The user name RasGetEntryDialParamsA hands out for an entry; RasDialA insists on it, so a
// dial with parameters that were not loaded fails.
std::string StoredUserName(const std::string& entry);

inline constexpr std::uint32_t kErrorInvalidHandle = 6;
inline constexpr std::uint32_t kErrorBufferTooSmall = 603;
inline constexpr std::uint32_t kErrorBufferInvalid = 610;
inline constexpr std::uint32_t kErrorCannotFindEntry = 623;
inline constexpr std::uint32_t kErrorInvalidSize = 632;
inline constexpr std::uint32_t kErrorAuthentication = 691;

class RasPlayer {
public:
    explicit RasPlayer(RasScenario& scenario) : s_(scenario) {}

    std::uint32_t RasEnumEntriesA(const void* reserved, const char* phoneBook, void* entries,
                                  std::uint32_t* byteCount, std::uint32_t* entryCount);
    std::uint32_t RasEnumConnectionsA(void* connections, std::uint32_t* byteCount,
                                      std::uint32_t* connectionCount);
    std::uint32_t RasGetEntryDialParamsA(const char* phoneBook, void* dialParams,
                                         std::int32_t* passwordSaved);
    std::uint32_t RasGetConnectStatusA(std::uintptr_t connection, void* status);
    std::uint32_t RasDialA(const void* extensions, const char* phoneBook, void* dialParams,
                           std::uint32_t notifierType, const void* notifier,
                           std::uintptr_t* connection);
    std::uint32_t RasHangUpA(std::uintptr_t connection);
    std::uint32_t RasGetErrorStringA(std::uint32_t code, char* buffer, std::uint32_t size);

private:
    bool Fault(const std::string& what);
    bool CheckSize(const void* record, std::uint32_t expected, const char* call);
    LiveConnection* FindLive(std::uintptr_t handle);

    RasScenario& s_;
};

} // namespace ringer::testing
