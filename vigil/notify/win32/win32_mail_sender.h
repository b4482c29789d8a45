#pragma once
// The mail sender under Win32: the whole SMTP dialogue runs over Winsock on a worker thread
// of its own, while the calling (user-interface) thread waits in the engine's pumped wait and
// keeps dispatching messages, so timers and clicks are served during a send. Each step of the
// dialogue is bounded by the step time-out; should the worker still not have finished when
// every step could have used its time-out, the caller stops it and reports a failure.
#include "vigil/engine/win32/win32_message_pump.h"
#include "vigil/notify/mail_sender.h"

#include <string>

namespace vigil::notify::win32 {

class Win32MailSender : public MailSender {
public:
    explicit Win32MailSender(engine::win32::Win32MessagePump& pump, SmtpOptions options = {});

    SendResult Send(std::string_view smtpServer, const MailMessage& message) override;

private:
    engine::win32::Win32MessagePump& pump_;
    SmtpOptions options_;
};

// The name this computer gives in EHLO: its DNS name, or "localhost" when it has none that an
// SMTP server would take.
std::string ComputerNameForSmtp();

} // namespace vigil::notify::win32
