#include "ringer/tests/ras_player.h"

#include <algorithm>
#include <cstring>
#include <sstream>

namespace ringer::testing {

namespace {

// The records of each family, written out byte by byte: sizes, field offsets and lengths.
// The connection handle is pointer-sized, so RASCONN differs between 32- and 64-bit builds.
struct Layout {
    std::uint32_t entryNameSize;
    std::uint32_t nameLength; // szEntryName, both records
    std::uint32_t connSize;
    std::uint32_t connHandle;
    std::uint32_t connName;
    std::uint32_t statusSize;
    std::uint32_t dialSize;
    std::uint32_t dialName, dialPhone, dialUser, dialUserLength, dialPassword, dialDomain;
    std::uint32_t entryListRecords;       // room the entry list must offer
    std::vector<std::uint32_t> connRooms; // rooms an enumeration of connections may offer
};

constexpr bool kWide = sizeof(void*) == 8;

const Layout& LayoutOf(std::uint32_t family) {
    static const Layout nineX{264,
                              257,
                              kWide ? 424u : 412u,
                              kWide ? 8u : 4u,
                              kWide ? 16u : 8u,
                              160,
                              1052,
                              4,
                              261,
                              519,
                              257,
                              776,
                              1033,
                              256,
                              {256}};
    static const Layout nt{28,
                           21,
                           kWide ? 40u : 32u,
                           kWide ? 8u : 4u,
                           kWide ? 16u : 8u,
                           64,
                           736,
                           4,
                           25,
                           203,
                           257,
                           460,
                           717,
                           20,
                           {256, 20}};
    return family == 1 ? nineX : nt;
}

std::uint32_t ReadU32(const void* at) {
    std::uint32_t v;
    std::memcpy(&v, at, sizeof v);
    return v;
}

void WriteText(unsigned char* field, std::uint32_t length, const std::string& text) {
    std::size_t n = std::min<std::size_t>(text.size(), length - 1);
    std::memcpy(field, text.data(), n);
    field[n] = 0;
}

std::string ReadText(const unsigned char* field, std::uint32_t length) {
    const void* zero = std::memchr(field, 0, length);
    std::size_t n = zero ? static_cast<const unsigned char*>(zero) - field : length;
    return std::string(reinterpret_cast<const char*>(field), n);
}

std::vector<std::string> Split(const std::string& line, std::size_t maxFields) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (fields.size() + 1 < maxFields) {
        std::size_t bar = line.find('|', start);
        if (bar == std::string::npos)
            break;
        fields.push_back(line.substr(start, bar - start));
        start = bar + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

std::uint32_t ToU32(const std::string& text) {
    return static_cast<std::uint32_t>(std::strtoul(text.c_str(), nullptr, 10));
}

} // namespace

std::string StoredUserName(const std::string& entry) {
    return "user of " + entry;
}

RasScenario RasScenario::Parse(const std::string& text) {
    RasScenario s;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        auto f = Split(line, 4);
        const std::string& kind = f[0];
        if (kind == "family" && f.size() >= 2)
            s.family = f[1] == "9x" ? 1 : 2;
        else if (kind == "entry" && f.size() >= 2)
            s.entries.push_back(Split(line, 2)[1]);
        else if (kind == "live" && f.size() >= 3)
            s.live.push_back({ToU32(f[1]), f[2], f.size() >= 4 && f[3] == "statusfails", 0});
        else if (kind == "dial" && f.size() >= 3)
            s.dialResults[f[1]] = ToU32(f[2]);
        else if (kind == "hangup" && f.size() >= 3) {
            for (auto& c : s.live)
                if (c.handle == ToU32(f[1]))
                    c.hangUpResult = ToU32(f[2]);
        } else if (kind == "errortext" && f.size() >= 3)
            s.errorTexts[ToU32(f[1])] = Split(line, 3)[2];
        else if (kind == "enumconnections" && f.size() >= 2)
            s.enumConnectionsResult = ToU32(f[1]);
        else if (kind == "fault")
            s.faults.push_back(Split(line, 2).back());
        else if (kind == "call")
            s.calls.push_back(Split(line, 2).back());
    }
    return s;
}

std::string RasScenario::Serialize() const {
    std::ostringstream out;
    out << "family|" << (family == 1 ? "9x" : "nt") << "\n";
    for (const auto& e : entries)
        out << "entry|" << e << "\n";
    for (const auto& c : live)
        out << "live|" << c.handle << "|" << c.name << (c.statusFails ? "|statusfails" : "")
            << "\n";
    for (const auto& c : live)
        if (c.hangUpResult)
            out << "hangup|" << c.handle << "|" << c.hangUpResult << "\n";
    for (const auto& [name, code] : dialResults)
        out << "dial|" << name << "|" << code << "\n";
    for (const auto& [code, text] : errorTexts)
        out << "errortext|" << code << "|" << text << "\n";
    if (enumConnectionsResult)
        out << "enumconnections|" << enumConnectionsResult << "\n";
    for (const auto& f : faults)
        out << "fault|" << f << "\n";
    for (const auto& c : calls)
        out << "call|" << c << "\n";
    return out.str();
}

bool RasPlayer::Fault(const std::string& what) {
    s_.faults.push_back(what);
    return false;
}

bool RasPlayer::CheckSize(const void* record, std::uint32_t expected, const char* call) {
    if (!record)
        return Fault(std::string(call) + ": no record");
    std::uint32_t size = ReadU32(record);
    if (size != expected)
        return Fault(std::string(call) + ": size field " + std::to_string(size) + ", expected " +
                     std::to_string(expected));
    return true;
}

LiveConnection* RasPlayer::FindLive(std::uintptr_t handle) {
    for (auto& c : s_.live)
        if (c.handle == handle)
            return &c;
    return nullptr;
}

std::uint32_t RasPlayer::RasEnumEntriesA(const void* reserved, const char* phoneBook, void* entries,
                                         std::uint32_t* byteCount, std::uint32_t* entryCount) {
    const Layout& l = LayoutOf(s_.family);
    s_.calls.push_back("RasEnumEntriesA");
    if (reserved || phoneBook)
        Fault("RasEnumEntriesA: reserved or phone book not NULL");
    if (!byteCount || !entryCount)
        return Fault("RasEnumEntriesA: no counts"), kErrorBufferInvalid;
    if (!CheckSize(entries, l.entryNameSize, "RasEnumEntriesA"))
        return kErrorInvalidSize;
    if (*byteCount != l.entryNameSize * l.entryListRecords) {
        Fault("RasEnumEntriesA: byte count " + std::to_string(*byteCount));
        return kErrorBufferInvalid;
    }
    std::uint32_t needed = static_cast<std::uint32_t>(s_.entries.size()) * l.entryNameSize;
    *entryCount = 0;
    if (needed > *byteCount) {
        *byteCount = needed;
        return kErrorBufferTooSmall;
    }
    auto* out = static_cast<unsigned char*>(entries);
    for (std::size_t i = 0; i < s_.entries.size(); ++i) {
        unsigned char* record = out + i * l.entryNameSize;
        std::memcpy(record, &l.entryNameSize, 4);
        WriteText(record + 4, l.nameLength, s_.entries[i]);
    }
    *byteCount = needed;
    *entryCount = static_cast<std::uint32_t>(s_.entries.size());
    return 0;
}

std::uint32_t RasPlayer::RasEnumConnectionsA(void* connections, std::uint32_t* byteCount,
                                             std::uint32_t* connectionCount) {
    const Layout& l = LayoutOf(s_.family);
    s_.calls.push_back("RasEnumConnectionsA");
    if (!byteCount || !connectionCount)
        return Fault("RasEnumConnectionsA: no counts"), kErrorBufferInvalid;
    if (!CheckSize(connections, l.connSize, "RasEnumConnectionsA"))
        return kErrorInvalidSize;
    if (std::none_of(l.connRooms.begin(), l.connRooms.end(),
                     [&](std::uint32_t room) { return *byteCount == room * l.connSize; })) {
        Fault("RasEnumConnectionsA: byte count " + std::to_string(*byteCount));
        return kErrorBufferInvalid;
    }
    *connectionCount = 0;
    if (s_.enumConnectionsResult)
        return s_.enumConnectionsResult;
    std::uint32_t needed = static_cast<std::uint32_t>(s_.live.size()) * l.connSize;
    if (needed > *byteCount) {
        *byteCount = needed;
        return kErrorBufferTooSmall;
    }
    auto* out = static_cast<unsigned char*>(connections);
    for (std::size_t i = 0; i < s_.live.size(); ++i) {
        unsigned char* record = out + i * l.connSize;
        std::memcpy(record, &l.connSize, 4);
        std::uintptr_t handle = static_cast<std::uintptr_t>(s_.live[i].handle);
        std::memcpy(record + l.connHandle, &handle, sizeof handle);
        WriteText(record + l.connName, l.nameLength, s_.live[i].name);
    }
    *byteCount = needed;
    *connectionCount = static_cast<std::uint32_t>(s_.live.size());
    return 0;
}

std::uint32_t RasPlayer::RasGetEntryDialParamsA(const char* phoneBook, void* dialParams,
                                                std::int32_t* passwordSaved) {
    const Layout& l = LayoutOf(s_.family);
    if (phoneBook)
        Fault("RasGetEntryDialParamsA: phone book not NULL");
    if (!CheckSize(dialParams, l.dialSize, "RasGetEntryDialParamsA"))
        return kErrorInvalidSize;
    auto* p = static_cast<unsigned char*>(dialParams);
    std::string name = ReadText(p + l.dialName, l.nameLength);
    s_.calls.push_back("RasGetEntryDialParamsA " + name);
    if (std::find(s_.entries.begin(), s_.entries.end(), name) == s_.entries.end())
        return kErrorCannotFindEntry;
    WriteText(p + l.dialPhone, 129, "555-0100");
    WriteText(p + l.dialUser, l.dialUserLength, StoredUserName(name));
    WriteText(p + l.dialPassword, 257, "secret");
    WriteText(p + l.dialDomain, 16, "");
    if (passwordSaved)
        *passwordSaved = 1;
    return 0;
}

std::uint32_t RasPlayer::RasGetConnectStatusA(std::uintptr_t connection, void* status) {
    const Layout& l = LayoutOf(s_.family);
    s_.calls.push_back("RasGetConnectStatusA " + std::to_string(connection));
    if (!CheckSize(status, l.statusSize, "RasGetConnectStatusA"))
        return kErrorInvalidSize;
    LiveConnection* live = FindLive(connection);
    if (!live || live->statusFails)
        return kErrorInvalidHandle;
    const std::uint32_t connected = 0x2000; // RASCS_Connected
    std::memcpy(static_cast<unsigned char*>(status) + 4, &connected, 4);
    return 0;
}

std::uint32_t RasPlayer::RasDialA(const void* extensions, const char* phoneBook, void* dialParams,
                                  std::uint32_t notifierType, const void* notifier,
                                  std::uintptr_t* connection) {
    const Layout& l = LayoutOf(s_.family);
    if (extensions || phoneBook || notifierType != 0 || notifier)
        Fault("RasDialA: extensions, phone book or notifier given");
    if (!CheckSize(dialParams, l.dialSize, "RasDialA"))
        return kErrorInvalidSize;
    if (!connection)
        return Fault("RasDialA: no handle out"), kErrorBufferInvalid;
    auto* p = static_cast<unsigned char*>(dialParams);
    std::string name = ReadText(p + l.dialName, l.nameLength);
    s_.calls.push_back("RasDialA " + name);
    *connection = 0;
    if (std::find(s_.entries.begin(), s_.entries.end(), name) == s_.entries.end())
        return kErrorCannotFindEntry;
    std::string expectedUser = StoredUserName(name).substr(0, l.dialUserLength - 1);
    if (ReadText(p + l.dialUser, l.dialUserLength) != expectedUser) {
        Fault("RasDialA: the stored dial parameters were not loaded");
        return kErrorAuthentication;
    }
    auto outcome = s_.dialResults.find(name);
    if (outcome != s_.dialResults.end() && outcome->second != 0)
        return outcome->second;
    std::uint64_t handle = 100;
    for (const auto& c : s_.live)
        handle = std::max(handle, c.handle + 1);
    s_.live.push_back({handle, name, false, 0});
    *connection = static_cast<std::uintptr_t>(handle);
    return 0;
}

std::uint32_t RasPlayer::RasHangUpA(std::uintptr_t connection) {
    s_.calls.push_back("RasHangUpA " + std::to_string(connection));
    LiveConnection* live = FindLive(connection);
    if (!live)
        return kErrorInvalidHandle;
    if (live->hangUpResult)
        return live->hangUpResult;
    s_.live.erase(s_.live.begin() + (live - s_.live.data()));
    return 0;
}

std::uint32_t RasPlayer::RasGetErrorStringA(std::uint32_t code, char* buffer, std::uint32_t size) {
    if (size != 256)
        Fault("RasGetErrorStringA: buffer size " + std::to_string(size));
    if (!buffer || size == 0)
        return kErrorBufferInvalid;
    auto text = s_.errorTexts.find(code);
    std::string message =
        text != s_.errorTexts.end() ? text->second : "RAS error " + std::to_string(code);
    WriteText(reinterpret_cast<unsigned char*>(buffer), size, message);
    return 0;
}

} // namespace ringer::testing
