#pragma once
// The inner object of the dial-up control: platform detection, the availability flag, the
// entry list (rebuilt from RAS by every member that reads it), the error policy and the relay
// of the events of the entry being dialled or hung up.
//
// Error policy: each member traps every error, fires ConnectFailed/DisconnectFailed (Connect and
// Disconnect), keeps the error as LastError and, only when RaiseErrors is set, throws it on as a
// RingerError with its own name put in front of the source; otherwise it returns its default.
#include "ringer/c_connection.h"
#include "ringer/connection_events.h"
#include "ringer/mod_declares.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace ringer {

class CDialUpNetworking {
public:
    // events: the listener of the relayed events (the control); may be null.
    CDialUpNetworking(std::shared_ptr<const RasApi> ras, ConnectionEvents* events);
    ~CDialUpNetworking();
    CDialUpNetworking(const CDialUpNetworking&) = delete;
    CDialUpNetworking& operator=(const CDialUpNetworking&) = delete;

    bool Available() const { return m_Available; }
    bool Active(const std::string& p_sName);
    std::int16_t ConnectionCount();
    std::int16_t ActiveConnectionCount();
    std::int16_t InactiveConnectionCount();
    // Names in list order; no value when the list could not be read.
    std::unique_ptr<std::vector<std::string>> Connections();
    std::unique_ptr<std::vector<std::string>> ActiveConnections();
    std::unique_ptr<std::vector<std::string>> InactiveConnections();
    bool Connect(const std::string& p_sName);
    bool Disconnect(const std::string& p_sName);
    // The last handled failure, or null before the first.
    std::shared_ptr<const ErrorInfo> LastError() const { return m_LastError; }
    bool RaiseErrors() const { return m_RaiseErrors; }
    void RaiseErrors(bool p_bRaiseErrors) { m_RaiseErrors = p_bRaiseErrors; }

    std::uint32_t Platform() const { return m_Platform; }

private:
    using ConnectionList = std::vector<std::shared_ptr<CConnection>>;

    // Relays the events of m_ringerConnection to the listener.
    class Relay : public ConnectionEvents {
    public:
        explicit Relay(ConnectionEvents* to) : to_(to) {}
        void Connected(const std::string& p_sName) override;
        void ConnectFailed(const std::string& p_sName, const ErrorInfo& p_Err) override;
        void Disconnected(const std::string& p_sName) override;
        void DisconnectFailed(const std::string& p_sName, const ErrorInfo& p_Err) override;

    private:
        ConnectionEvents* to_;
    };

    void CheckRingerAvailable();
    void CheckRingerAvailable9x();
    void CheckRingerAvailableNT();
    template <typename F> void ProbeFamily();
    void Refresh();
    void Refresh9x();
    void RefreshNT();
    template <typename F> void RefreshFamily();

    // Raises 1025 from member `source` when dial-up networking cannot be used.
    void RequireAvailable(const char* source) const;
    // The handler of every member: `seen` (the failure event, bookkeeping) and LastError get
    // the error as it arrived; it goes on with the member's name in its source only when
    // errors are raised, otherwise the member returns its default (False, 0 or nothing).
    template <typename Body, typename Seen = std::remove_const_t<decltype(kNoEvent)>>
    auto Handled(const char* source, Body&& body, Seen seen = {}) -> decltype(body());
    std::function<void(const ErrorInfo&)> Unavailable(); // a failed probe: not available
    std::function<void(const ErrorInfo&)> ListLost();    // a failed refresh: no list
    std::shared_ptr<CConnection> Find(const std::string& name) const;
    // Names of the entries whose state (re-read from RAS) is `active`, or of all.
    enum class Which { All, Active, Inactive };
    std::unique_ptr<std::vector<std::string>> Names(Which which, const char* source);
    std::int16_t Count(Which which, const char* source);
    void SetRingerConnection(std::shared_ptr<CConnection> connection);

    std::shared_ptr<const RasApi> ras_;
    ConnectionEvents* events_;
    Relay relay_;
    std::uint32_t m_Platform = 0;
    bool m_Available = false;
    std::unique_ptr<ConnectionList> m_Connections;
    std::shared_ptr<const ErrorInfo> m_LastError;
    bool m_RaiseErrors = false;
    std::shared_ptr<CConnection> m_ringerConnection;
};

} // namespace ringer
