#pragma once
// One phone-book entry: its live state, read from RAS on every query, dialling and hang-up.
// CConnection has no error switch: every failure fires its event and goes on to the caller.
#include "ringer/connection_events.h"
#include "ringer/mod_declares.h"
#include "ringer/ras_records.h"

#include <functional>
#include <memory>
#include <string>

namespace ringer {

class CConnection {
public:
    explicit CConnection(std::shared_ptr<const RasApi> ras);

    const std::string& Name() const { return name_; }
    void Name(const std::string& name) { name_ = name; }
    // Re-reads the entry's state from RAS.
    bool Active();
    // Dials synchronously; true when the line is up. Raises 1027 when already connected.
    bool Connect();
    // Hangs up every live connection of the entry. Raises 1028 when none is live.
    bool Disconnect();
    void Refresh();

    // Who hears this entry's events (none: they go nowhere).
    void SetEvents(ConnectionEvents* events) { events_ = events; }

private:
    template <typename F> void RefreshFamily(typename F::DialParams& params);
    template <typename F> bool ConnectFamily(typename F::DialParams& params, const char* source);
    template <typename F> bool DisconnectFamily(const char* source);
    void Refresh9x();
    void RefreshNT();
    bool Connect9x();
    bool ConnectNT();
    bool Disconnect9x();
    bool DisconnectNT();

    // The failure events, raised by the handlers of the dialling and hang-up members.
    std::function<void(const ErrorInfo&)> ConnectFailedEvent();
    std::function<void(const ErrorInfo&)> DisconnectFailedEvent();

    std::shared_ptr<const RasApi> ras_;
    ConnectionEvents* events_ = nullptr;
    std::string name_;
    bool m_Active = false;
    RasDialParams9x m_DialParams9x{};
    RasDialParamsNT m_DialParamsNT{};
    std::uint32_t m_Platform = 0;
};

} // namespace ringer
