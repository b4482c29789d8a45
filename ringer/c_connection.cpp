#include "ringer/c_connection.h"

#include "ringer/bytes_to_string.h"

#include <algorithm>
#include <vector>

namespace ringer {

namespace {

// How many records RAS may have written: never more than the room offered, whatever count it
// returns, so a short buffer is never read past its end.
std::uint32_t RecordsReturned(std::uint32_t count, std::uint32_t offered) {
    return std::min(count, offered);
}

} // namespace

CConnection::CConnection(std::shared_ptr<const RasApi> ras) : ras_(std::move(ras)) {
    m_Platform = DetectPlatform(*ras_);
}

std::function<void(const ErrorInfo&)> CConnection::ConnectFailedEvent() {
    return [this](const ErrorInfo& error) {
        if (events_)
            events_->ConnectFailed(name_, error);
    };
}

std::function<void(const ErrorInfo&)> CConnection::DisconnectFailedEvent() {
    return [this](const ErrorInfo& error) {
        if (events_)
            events_->DisconnectFailed(name_, error);
    };
}

bool CConnection::Active() {
    Refresh();
    return m_Active;
}

void CConnection::Refresh() {
    Guarded(
        "CConnection.Refresh",
        [&] {
            if (m_Platform == kPlatform9x)
                Refresh9x();
            else if (m_Platform == kPlatformNT)
                RefreshNT();
        },
        kNoEvent, SourceRule::Replace);
}

void CConnection::Refresh9x() {
    Guarded(
        "CConnection.Refresh9x", [&] { RefreshFamily<Family9x>(m_DialParams9x); }, kNoEvent,
        SourceRule::Replace);
}

void CConnection::RefreshNT() {
    Guarded(
        "CConnection.RefreshNT", [&] { RefreshFamily<FamilyNT>(m_DialParamsNT); }, kNoEvent,
        SourceRule::Replace);
}

template <typename F> void CConnection::RefreshFamily(typename F::DialParams& params) {
    m_Active = false;
    params.dwSize = sizeof(params);
    CopyToField(params.szEntryName, name_);
    // The stored user name, password and number; a failure leaves the record as it is.
    std::int32_t passwordSaved = 0;
    ras_->RasGetEntryDialParamsA(&params, &passwordSaved);

    std::vector<typename F::Conn> connections(kBufferRecords);
    connections[0].dwSize = sizeof(typename F::Conn);
    std::uint32_t byteCount = sizeof(typename F::Conn) * F::StateRecords;
    std::uint32_t count = 0;
    ras_->RasEnumConnectionsA(connections.data(), &byteCount, &count);
    count = RecordsReturned(count, F::StateRecords);
    for (std::uint32_t i = 0; i < count; ++i) {
        if (Trim(BytesToString(connections[i].szEntryName)) != name_)
            continue;
        typename F::ConnStatus status{};
        status.dwSize = sizeof(status);
        if (ras_->RasGetConnectStatusA(connections[i].hrasconn, &status) == 0)
            m_Active = true;
    }
}

bool CConnection::Connect() {
    const char* source = "CConnection.Connect";
    return Guarded(
        source,
        [&] {
            Refresh();
            if (m_Active)
                throw RingerError(kErrAlreadyActive, source, kTextAlreadyActive);
            if (m_Platform == kPlatform9x)
                return Connect9x();
            if (m_Platform == kPlatformNT)
                return ConnectNT();
            return false;
        },
        ConnectFailedEvent());
}

bool CConnection::Connect9x() {
    const char* source = "CConnection.Connect9x";
    return Guarded(
        source, [&] { return ConnectFamily<Family9x>(m_DialParams9x, source); },
        ConnectFailedEvent());
}

bool CConnection::ConnectNT() {
    const char* source = "CConnection.ConnectNT";
    return Guarded(
        source, [&] { return ConnectFamily<FamilyNT>(m_DialParamsNT, source); },
        ConnectFailedEvent());
}

template <typename F>
bool CConnection::ConnectFamily(typename F::DialParams& params, const char* source) {
    params.dwSize = sizeof(params);
    // No notifier: RasDialA returns only when the line is up or the dial has failed. The
    // handle is not kept; hang-up finds the connection again by enumeration.
    RasConnHandle connection = 0;
    std::uint32_t result = ras_->RasDialA(&params, &connection);
    if (result != 0) {
        char text[256] = {};
        ras_->RasGetErrorStringA(result, text, sizeof(text));
        throw RingerError(kErrDialling, source, kTextDiallingPrefix + BytesToString(text));
    }
    if (events_)
        events_->Connected(name_);
    return true;
}

bool CConnection::Disconnect() {
    const char* source = "CConnection.Disconnect";
    return Guarded(
        source,
        [&] {
            Refresh();
            if (!m_Active)
                throw RingerError(kErrAlreadyInactive, source, kTextAlreadyInactive);
            if (m_Platform == kPlatform9x)
                return Disconnect9x();
            if (m_Platform == kPlatformNT)
                return DisconnectNT();
            return false;
        },
        DisconnectFailedEvent());
}

bool CConnection::Disconnect9x() {
    const char* source = "CConnection.Disconnect9x";
    return Guarded(
        source, [&] { return DisconnectFamily<Family9x>(source); }, DisconnectFailedEvent());
}

bool CConnection::DisconnectNT() {
    const char* source = "CConnection.DisconnectNT";
    return Guarded(
        source, [&] { return DisconnectFamily<FamilyNT>(source); }, DisconnectFailedEvent());
}

template <typename F> bool CConnection::DisconnectFamily(const char* source) {
    std::vector<typename F::Conn> connections(kBufferRecords);
    connections[0].dwSize = sizeof(typename F::Conn);
    std::uint32_t byteCount = sizeof(typename F::Conn) * F::HangUpRecords;
    std::uint32_t count = 0;
    if (ras_->RasEnumConnectionsA(connections.data(), &byteCount, &count) != 0 || count == 0)
        throw RingerError(kErrAlreadyInactive, source, kTextAlreadyInactive);
    count = RecordsReturned(count, F::HangUpRecords);
    bool hungUp = false;
    // Every live connection of the entry goes; the line is not waited for.
    for (std::uint32_t i = 0; i < count; ++i) {
        if (Trim(BytesToString(connections[i].szEntryName)) != name_)
            continue;
        if (ras_->RasHangUpA(connections[i].hrasconn) == 0) {
            if (events_)
                events_->Disconnected(name_);
            hungUp = true;
        }
    }
    return hungUp;
}

} // namespace ringer
