#include "vigil/notify/win32/win32_mail_sender.h"

#include "common/win32/handles.h"
#include "vigil/engine/win32/pumped_wait.h"
#include "vigil/engine/win32/worker_thread.h"
#include "vigil/notify/win32/winsock_transport.h"

#include <windows.h>

#include <memory>

namespace vigil::notify::win32 {

namespace {

// Shared by the caller and the worker; the last of them to let go frees it.
struct SendJob {
    std::string server;
    MailMessage message;
    SmtpOptions options;
    common::UniqueHandle done{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    common::UniqueHandle stop{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    SendResult result; // written by the worker before it sets done
};

void RunJob(std::shared_ptr<SendJob> job) {
    SendResult result;
    try {
        WinsockTransport transport(job->stop.Get());
        result = SendMail(transport, job->server, job->message, job->options);
    } catch (const std::exception&) {
        result = SendResult::Failure("out of memory");
    }
    job->result = std::move(result);
    SetEvent(job->done.Get());
}

} // namespace

std::string ComputerNameForSmtp() {
    char name[256];
    DWORD size = sizeof name;
    if (!GetComputerNameExA(ComputerNameDnsFullyQualified, name, &size) || size == 0)
        return "localhost";
    std::string text(name, size);
    for (char c : text) {
        const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                             (c >= '0' && c <= '9') || c == '-' || c == '.';
        if (!allowed)
            return "localhost";
    }
    return text;
}

Win32MailSender::Win32MailSender(engine::win32::Win32MessagePump& pump, SmtpOptions options)
    : pump_(pump), options_(std::move(options)) {
    if (options_.clientName.empty() || options_.clientName == SmtpOptions{}.clientName)
        options_.clientName = ComputerNameForSmtp();
    if (options_.stepTimeoutSeconds <= 0)
        options_.stepTimeoutSeconds = kDefaultSmtpStepTimeoutSeconds;
}

SendResult Win32MailSender::Send(std::string_view smtpServer, const MailMessage& message) {
    auto job = std::make_shared<SendJob>();
    job->server = std::string(smtpServer);
    job->message = message;
    job->options = options_;
    if (!job->done || !job->stop)
        return SendResult::Failure("could not create the events of a send");
    if (!engine::win32::StartWorkerThread([job] { RunJob(job); }))
        return SendResult::Failure("could not start the send");

    // Connect, greeting, EHLO, HELO, MAIL FROM, each RCPT TO, DATA, the data, its reply, QUIT,
    // and one step more for the name lookup.
    const int steps = 11 + static_cast<int>(message.to.size());
    const ULONGLONG deadline =
        GetTickCount64() +
        static_cast<ULONGLONG>(steps) * static_cast<ULONGLONG>(options_.stepTimeoutSeconds) * 1000u;
    switch (engine::win32::WaitPumping(pump_, job->done.Get(), deadline)) {
    case engine::win32::PumpedWaitOutcome::Signalled:
        return std::move(job->result);
    case engine::win32::PumpedWaitOutcome::TimedOut:
        SetEvent(job->stop.Get());
        return SendResult::Failure("the send timed out");
    default:
        SetEvent(job->stop.Get());
        return SendResult::Failure("waiting for the send failed");
    }
}

} // namespace vigil::notify::win32
