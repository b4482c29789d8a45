#pragma once
// Sending one message to an SMTP server (RFC 5321) over a MailTransport: the greeting, EHLO
// (HELO when the server refuses EHLO), MAIL FROM, one RCPT TO for every recipient, DATA with
// the message dot-stuffed, and QUIT. Every reply is read whole (also the multi-line ones) and
// its code checked; a refused step, a broken connection or a step that takes longer than the
// time-out ends the send as a failure.
#include "vigil/notify/mail_message.h"
#include "vigil/notify/mail_transport.h"
#include "vigil/notify/smtp_server.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace vigil::notify {

inline constexpr int kDefaultSmtpStepTimeoutSeconds = 60;
inline constexpr std::size_t kMaxAddressLength = 254;

struct SmtpOptions {
    std::string clientName = "localhost"; // the name this computer gives in EHLO/HELO
    int stepTimeoutSeconds = kDefaultSmtpStepTimeoutSeconds; // the bound of each step
};

struct SendResult {
    bool ok = false;
    std::string error; // which step failed and why, when not ok (for diagnostics)

    static SendResult Sent() { return {true, {}}; }
    static SendResult Failure(std::string error) { return {false, std::move(error)}; }
};

// One reply of the server: its code and the text of all its lines, joined by line feeds.
struct SmtpReply {
    int code = 0;
    std::string text;
};

// Reads one whole reply ("250-first", "250-second", "250 last"). A line without a
// three-digit code, or with a code other than the first line's, is a failure.
TransportStatus ReadReply(MailTransport& transport, int timeoutSeconds, SmtpReply& reply);

// The message text with every line that starts with "." given one more "." and the end of
// data marker ("." on a line of its own) appended. The text must end with CR LF.
std::string DotStuff(std::string_view text);

// Sends the message and closes the connection. A missing Date or Message-ID is filled in. A
// message without a sender or recipient, or with an address longer than kMaxAddressLength,
// fails before anything is sent.
// The message counts as sent once the server has accepted its data; QUIT's reply is read but
// a server that refuses QUIT then does not make an accepted message a failure (it would be
// sent again).
SendResult SendMail(MailTransport& transport, const SmtpServerAddress& server,
                    const MailMessage& message, const SmtpOptions& options = {});

// The same for the text of the server field ("host" or "host:port"); a field that names no
// server is a failure before anything is sent.
SendResult SendMail(MailTransport& transport, std::string_view smtpServer,
                    const MailMessage& message, const SmtpOptions& options = {});

} // namespace vigil::notify
