#pragma once
// Port: sends one e-mail through the SMTP server named by the server field. The caller is
// blocked until the server has accepted the message or the send failed, while the user
// interface keeps running. Any failure (no such server, a refused step, a time-out) is a
// result with ok false, never an exception.
#include "vigil/notify/mail_message.h"
#include "vigil/notify/smtp_dialogue.h"

#include <string_view>

namespace vigil::notify {

class MailSender {
public:
    virtual ~MailSender() = default;
    // smtpServer: "host" or "host:port" (port 25 when none is given).
    virtual SendResult Send(std::string_view smtpServer, const MailMessage& message) = 0;
};

} // namespace vigil::notify
