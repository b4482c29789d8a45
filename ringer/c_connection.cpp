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

void CConnection::FireConnectFailed(const ErrorInfo& error) {
    if (events_)
        events_->ConnectFailed(name_, error);
}

void CConnection::FireDisconnectFailed(const ErrorInfo& error) {
    if (events_)
        events_->DisconnectFailed(name_, error);
}

bool CConnection::Active() {
    Refresh();
    return m_Active;
}

void CConnection::Refresh() {
    try {
        if (m_Platform == kPlatform9x)
            Refresh9x();
        else if (m_Platform == kPlatformNT)
            RefreshNT();
    } catch (...) {
        throw RingerError(Resourced(CurrentError(), "CConnection.Refresh"));
    }
}

void CConnection::Refresh9x() {
    try {
        RefreshFamily<Family9x>(m_DialParams9x);
    } catch (...) {
        throw RingerError(Resourced(CurrentError(), "CConnection.Refresh9x"));
    }
}

void CConnection::RefreshNT() {
    try {
        RefreshFamily<FamilyNT>(m_DialParamsNT);
    } catch (...) {
        throw RingerError(Resourced(CurrentError(), "CConnection.RefreshNT"));
    }
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
    try {
        Refresh();
        if (m_Active)
            throw RingerError(kErrAlreadyActive, "CConnection.Connect", kTextAlreadyActive);
        if (m_Platform == kPlatform9x)
            return Connect9x();
        if (m_Platform == kPlatformNT)
            return ConnectNT();
        return false;
    } catch (...) {
        ErrorInfo error = CurrentError();
        FireConnectFailed(error);
        throw RingerError(Chained(error, "CConnection.Connect"));
    }
}

bool CConnection::Connect9x() {
    try {
        return ConnectFamily<Family9x>(m_DialParams9x, "CConnection.Connect9x");
    } catch (...) {
        ErrorInfo error = CurrentError();
        FireConnectFailed(error);
        throw RingerError(Chained(error, "CConnection.Connect9x"));
    }
}

bool CConnection::ConnectNT() {
    try {
        return ConnectFamily<FamilyNT>(m_DialParamsNT, "CConnection.ConnectNT");
    } catch (...) {
        ErrorInfo error = CurrentError();
        FireConnectFailed(error);
        throw RingerError(Chained(error, "CConnection.ConnectNT"));
    }
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
    try {
        Refresh();
        if (!m_Active)
            throw RingerError(kErrAlreadyInactive, "CConnection.Disconnect", kTextAlreadyInactive);
        if (m_Platform == kPlatform9x)
            return Disconnect9x();
        if (m_Platform == kPlatformNT)
            return DisconnectNT();
        return false;
    } catch (...) {
        ErrorInfo error = CurrentError();
        FireDisconnectFailed(error);
        throw RingerError(Chained(error, "CConnection.Disconnect"));
    }
}

bool CConnection::Disconnect9x() {
    try {
        return DisconnectFamily<Family9x>("CConnection.Disconnect9x");
    } catch (...) {
        ErrorInfo error = CurrentError();
        FireDisconnectFailed(error);
        throw RingerError(Chained(error, "CConnection.Disconnect9x"));
    }
}

bool CConnection::DisconnectNT() {
    try {
        return DisconnectFamily<FamilyNT>("CConnection.DisconnectNT");
    } catch (...) {
        ErrorInfo error = CurrentError();
        FireDisconnectFailed(error);
        throw RingerError(Chained(error, "CConnection.DisconnectNT"));
    }
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
