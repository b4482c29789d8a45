#include "ringer/c_dial_up_networking.h"

#include "ringer/bytes_to_string.h"

#include <type_traits>

namespace ringer {

void CDialUpNetworking::Relay::Connected(const std::string& p_sName) {
    if (to_)
        to_->Connected(p_sName);
}
void CDialUpNetworking::Relay::ConnectFailed(const std::string& p_sName, const ErrorInfo& p_Err) {
    if (to_)
        to_->ConnectFailed(p_sName, p_Err);
}
void CDialUpNetworking::Relay::Disconnected(const std::string& p_sName) {
    if (to_)
        to_->Disconnected(p_sName);
}
void CDialUpNetworking::Relay::DisconnectFailed(const std::string& p_sName,
                                                const ErrorInfo& p_Err) {
    if (to_)
        to_->DisconnectFailed(p_sName, p_Err);
}

CDialUpNetworking::CDialUpNetworking(std::shared_ptr<const RasApi> ras, ConnectionEvents* events)
    : ras_(std::move(ras)), events_(events), relay_(events) {
    // RaiseErrors is still off here, so creation never throws.
    Handled("CDialUpNetworking.Initialize", [&] {
        m_RaiseErrors = false;
        m_Platform = DetectPlatform(*ras_);
        CheckRingerAvailable();
    });
}

CDialUpNetworking::~CDialUpNetworking() {
    SetRingerConnection(nullptr);
}

template <typename Body, typename Seen>
auto CDialUpNetworking::Handled(const char* source, Body&& body, Seen seen) -> decltype(body()) {
    using Result = decltype(body());
    try {
        return Guarded(source, body, [&](const ErrorInfo& error) {
            seen(error);
            m_LastError = std::make_shared<const ErrorInfo>(error);
        });
    } catch (const RingerError&) {
        if (m_RaiseErrors)
            throw;
        if constexpr (!std::is_void_v<Result>)
            return Result{};
    }
}

std::function<void(const ErrorInfo&)> CDialUpNetworking::Unavailable() {
    return [this](const ErrorInfo&) { m_Available = false; };
}
std::function<void(const ErrorInfo&)> CDialUpNetworking::ListLost() {
    return [this](const ErrorInfo&) { m_Connections.reset(); };
}

void CDialUpNetworking::RequireAvailable(const char* source) const {
    if (!m_Available)
        throw RingerError(kErrNotAvailable, source, kTextNotAvailable);
}

void CDialUpNetworking::SetRingerConnection(std::shared_ptr<CConnection> connection) {
    if (m_ringerConnection)
        m_ringerConnection->SetEvents(nullptr);
    m_ringerConnection = std::move(connection);
    if (m_ringerConnection)
        m_ringerConnection->SetEvents(&relay_);
}

std::shared_ptr<CConnection> CDialUpNetworking::Find(const std::string& name) const {
    if (m_Connections)
        for (const auto& connection : *m_Connections)
            if (connection->Name() == name)
                return connection;
    return nullptr;
}

// --- availability -------------------------------------------------------------------------

void CDialUpNetworking::CheckRingerAvailable() {
    Handled(
        "CDialUpNetworking.CheckRingerAvailable",
        [&] {
            if (m_Platform == kPlatform9x)
                CheckRingerAvailable9x();
            else if (m_Platform == kPlatformNT)
                CheckRingerAvailableNT();
        },
        Unavailable());
}

void CDialUpNetworking::CheckRingerAvailable9x() {
    Handled(
        "CDialUpNetworking.CheckRingerAvailable9x", [&] { ProbeFamily<Family9x>(); },
        Unavailable());
}

void CDialUpNetworking::CheckRingerAvailableNT() {
    Handled(
        "CDialUpNetworking.CheckRingerAvailableNT", [&] { ProbeFamily<FamilyNT>(); },
        Unavailable());
}

template <typename F> void CDialUpNetworking::ProbeFamily() {
    std::vector<typename F::Conn> connections(kBufferRecords);
    connections[0].dwSize = sizeof(typename F::Conn);
    std::uint32_t byteCount = sizeof(typename F::Conn) * F::ProbeRecords;
    std::uint32_t count = 0;
    m_Available = ras_->RasEnumConnectionsA(connections.data(), &byteCount, &count) == 0;
}

// --- the entry list -----------------------------------------------------------------------

void CDialUpNetworking::Refresh() {
    Handled(
        "CDialUpNetworking.Refresh",
        [&] {
            m_Connections = std::make_unique<ConnectionList>();
            if (m_Available) {
                if (m_Platform == kPlatform9x)
                    Refresh9x();
                else if (m_Platform == kPlatformNT)
                    RefreshNT();
            }
        },
        ListLost());
}

// A failure discards the list; when errors are raised, the refresh above discards it as well.
void CDialUpNetworking::Refresh9x() {
    Handled(
        "CDialUpNetworking.Refresh9x", [&] { RefreshFamily<Family9x>(); }, ListLost());
}

void CDialUpNetworking::RefreshNT() {
    Handled(
        "CDialUpNetworking.RefreshNT", [&] { RefreshFamily<FamilyNT>(); }, ListLost());
}

template <typename F> void CDialUpNetworking::RefreshFamily() {
    std::vector<typename F::EntryName> names(kBufferRecords);
    names[0].dwSize = sizeof(typename F::EntryName);
    std::uint32_t byteCount = sizeof(typename F::EntryName) * F::EntryListRecords;
    std::uint32_t count = 0;
    // A failure or an empty phone book leaves the list empty; so does a phone book too big for
    // the room offered (RAS then reports the buffer too small).
    if (ras_->RasEnumEntriesA(names.data(), &byteCount, &count) != 0 || count == 0)
        return;
    if (count > F::EntryListRecords)
        count = F::EntryListRecords;
    for (std::uint32_t i = 0; i < count; ++i) {
        auto connection = std::make_shared<CConnection>(ras_);
        connection->Name(Trim(BytesToString(names[i].szEntryName)));
        connection->Refresh();
        // The list is keyed by name, like a keyed collection: a second entry of one name is
        // an error.
        if (Find(connection->Name()))
            throw RingerError(457, kRuntimeSource,
                              "This key is already associated with an element of this "
                              "collection");
        m_Connections->push_back(std::move(connection));
    }
}

// --- members ------------------------------------------------------------------------------

bool CDialUpNetworking::Active(const std::string& p_sName) {
    return Handled("CDialUpNetworking.Active", [&] {
        RequireAvailable("CDialUpNetworking.Active");
        Refresh();
        if (!m_Connections)
            return false;
        if (!p_sName.empty() && !Find(p_sName))
            throw RingerError(kErrNoSuchConnection, "CDialUpNetworking.Active",
                              kTextNoSuchConnection);
        // Hold the list: an event handler of the host may refresh it meanwhile.
        ConnectionList entries = *m_Connections;
        for (const auto& connection : entries) {
            bool active = connection->Active();
            if (active && (p_sName.empty() || p_sName == connection->Name()))
                return true;
        }
        return false;
    });
}

std::int16_t CDialUpNetworking::Count(Which which, const char* source) {
    return Handled(source, [&]() -> std::int16_t {
        RequireAvailable(source);
        Refresh();
        if (!m_Connections)
            return 0;
        ConnectionList entries = *m_Connections;
        std::int16_t count = 0;
        for (const auto& connection : entries) {
            if (which == Which::All || connection->Active() == (which == Which::Active))
                ++count;
        }
        return count;
    });
}

std::int16_t CDialUpNetworking::ConnectionCount() {
    return Count(Which::All, "CDialUpNetworking.ConnectionCount");
}
std::int16_t CDialUpNetworking::ActiveConnectionCount() {
    return Count(Which::Active, "CDialUpNetworking.ActiveConnectionCount");
}
std::int16_t CDialUpNetworking::InactiveConnectionCount() {
    return Count(Which::Inactive, "CDialUpNetworking.InactiveConnectionCount");
}

std::unique_ptr<std::vector<std::string>> CDialUpNetworking::Names(Which which,
                                                                   const char* source) {
    return Handled(source, [&]() -> std::unique_ptr<std::vector<std::string>> {
        RequireAvailable(source);
        Refresh();
        if (!m_Connections)
            return nullptr;
        ConnectionList entries = *m_Connections;
        auto names = std::make_unique<std::vector<std::string>>();
        for (const auto& connection : entries) {
            if (which == Which::All || connection->Active() == (which == Which::Active))
                names->push_back(connection->Name());
        }
        return names;
    });
}

std::unique_ptr<std::vector<std::string>> CDialUpNetworking::Connections() {
    return Names(Which::All, "CDialUpNetworking.Connections");
}
std::unique_ptr<std::vector<std::string>> CDialUpNetworking::ActiveConnections() {
    return Names(Which::Active, "CDialUpNetworking.ActiveConnections");
}
std::unique_ptr<std::vector<std::string>> CDialUpNetworking::InactiveConnections() {
    return Names(Which::Inactive, "CDialUpNetworking.InactiveConnections");
}

bool CDialUpNetworking::Connect(const std::string& p_sName) {
    auto failed = [&](const ErrorInfo& error) {
        if (events_)
            events_->ConnectFailed(p_sName, error);
    };
    return Handled(
        "CDialUpNetworking.Connect",
        [&] {
            RequireAvailable("CDialUpNetworking.Connect");
            Refresh();
            if (!m_Connections)
                return false;
            std::shared_ptr<CConnection> entry = p_sName.empty() ? nullptr : Find(p_sName);
            if (!p_sName.empty() && !entry)
                throw RingerError(kErrNoSuchConnection, "CDialUpNetworking.Connect",
                                  kTextNoSuchConnection);
            if (m_Connections->empty())
                return false;
            SetRingerConnection(nullptr);
            SetRingerConnection(entry ? entry : m_Connections->front());
            // Keep the entry alive through its own events, whatever the host does in them.
            std::shared_ptr<CConnection> dialling = m_ringerConnection;
            if (dialling->Active())
                throw RingerError(kErrAlreadyActive, "CDialUpNetworking.Connect",
                                  kTextAlreadyActive);
            return dialling->Connect();
        },
        failed);
}

bool CDialUpNetworking::Disconnect(const std::string& p_sName) {
    auto failed = [&](const ErrorInfo& error) {
        if (events_)
            events_->DisconnectFailed(p_sName, error);
    };
    return Handled(
        "CDialUpNetworking.Disconnect",
        [&] {
            RequireAvailable("CDialUpNetworking.Disconnect");
            Refresh();
            if (!m_Connections)
                return false;
            std::shared_ptr<CConnection> entry = p_sName.empty() ? nullptr : Find(p_sName);
            if (!p_sName.empty() && !entry)
                throw RingerError(kErrNoSuchConnection, "CDialUpNetworking.Disconnect",
                                  kTextNoSuchConnection);
            if (m_Connections->empty())
                return false;
            SetRingerConnection(nullptr);
            if (entry) {
                SetRingerConnection(entry);
                std::shared_ptr<CConnection> hangingUp = m_ringerConnection;
                if (!hangingUp->Active())
                    throw RingerError(kErrAlreadyInactive, "CDialUpNetworking.Disconnect",
                                      kTextAlreadyInactive);
                return hangingUp->Disconnect();
            }
            // All of them. No entry is the one being hung up, so their events stay here.
            ConnectionList entries = *m_Connections;
            int failures = 0;
            for (const auto& connection : entries) {
                if (connection->Active() && !connection->Disconnect())
                    ++failures;
            }
            return failures == 0;
        },
        failed);
}

} // namespace ringer
