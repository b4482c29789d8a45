#pragma once
// Port: the connection an SMTP dialogue runs over, one line at a time. Every call is bounded
// by the time-out it is given and reports a failure (with a reason, for diagnostics) instead
// of blocking for longer.
#include <string>
#include <string_view>

namespace vigil::notify {

struct TransportStatus {
    bool ok = true;
    std::string error; // what went wrong, when not ok

    static TransportStatus Ok() { return {}; }
    static TransportStatus Failure(std::string error) { return {false, std::move(error)}; }
};

class MailTransport {
public:
    virtual ~MailTransport() = default;

    virtual TransportStatus Connect(const std::string& host, int port, int timeoutSeconds) = 0;
    // Sends all the bytes.
    virtual TransportStatus Send(std::string_view bytes, int timeoutSeconds) = 0;
    // Receives one line; it is handed back without its line end (CR LF, or a lone LF). A
    // connection closed before the line end is a failure.
    virtual TransportStatus ReceiveLine(std::string& line, int timeoutSeconds) = 0;
    // Closes the connection; harmless when none is open.
    virtual void Close() = 0;
};

} // namespace vigil::notify
