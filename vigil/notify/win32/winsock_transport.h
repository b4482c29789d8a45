#pragma once
// The mail transport over a Winsock connection. Its calls block the calling thread (the mail
// sender's worker) for at most their time-out; the socket is event-driven underneath, so a
// wait also ends at once when the stop event is set by whoever gave up waiting for it.
#include "vigil/notify/mail_transport.h"

#include <winsock2.h>

#include <string>

namespace vigil::notify::win32 {

class WinsockTransport : public MailTransport {
public:
    // stop: a manual-reset event that ends the transport's waits (optional).
    explicit WinsockTransport(HANDLE stop = nullptr);
    ~WinsockTransport() override;
    WinsockTransport(const WinsockTransport&) = delete;
    WinsockTransport& operator=(const WinsockTransport&) = delete;

    // Tries each address of the host in turn until one connects or the time-out has passed.
    TransportStatus Connect(const std::string& host, int port, int timeoutSeconds) override;
    TransportStatus Send(std::string_view bytes, int timeoutSeconds) override;
    TransportStatus ReceiveLine(std::string& line, int timeoutSeconds) override;
    void Close() override;

private:
    enum class Woke { Network, TimedOut, Stopped, Failed };
    // Waits until the socket signals something, the deadline passes or stop is set.
    Woke Wait(ULONGLONG deadline);
    static const char* WokeText(Woke woke);

    bool started_ = false; // WSAStartup succeeded
    HANDLE stop_;
    WSAEVENT event_ = WSA_INVALID_EVENT;
    SOCKET socket_ = INVALID_SOCKET;
    std::string received_; // bytes received and not yet handed out as lines
};

// A line longer than this is not SMTP; the transport refuses it rather than growing forever.
inline constexpr std::size_t kMaxLineBytes = 64 * 1024;

} // namespace vigil::notify::win32
