#pragma once
// Port: the system's connection flags (InternetGetConnectedState), and the four questions the
// monitor asks of them. Each question reads the flags afresh.
#include <cstdint>

namespace vigil::engine {

class ConnectionFlags {
public:
    virtual ~ConnectionFlags() = default;
    // The call's own result; flags receives the connection flags.
    virtual bool InternetGetConnectedState(std::uint32_t& flags) = 0;
};

inline constexpr std::uint32_t kConnectionModem = 0x01;
inline constexpr std::uint32_t kConnectionLan = 0x02;
inline constexpr std::uint32_t kRasInstalled = 0x10;

class CheckInternetConnectionModule {
public:
    explicit CheckInternetConnectionModule(ConnectionFlags& flags) : flags_(flags) {}

    bool IsOnline() {
        std::uint32_t flags = 0;
        return flags_.InternetGetConnectedState(flags);
    }
    bool IsModemConnection() { return Has(kConnectionModem); }
    bool IsLanConnection() { return Has(kConnectionLan); }
    bool IsRasInstalled() { return Has(kRasInstalled); }

private:
    bool Has(std::uint32_t bit) {
        std::uint32_t flags = 0;
        flags_.InternetGetConnectedState(flags);
        return (flags & bit) != 0;
    }

    ConnectionFlags& flags_;
};

} // namespace vigil::engine
