#include "vigil/notify/smtp_dialogue.h"

#include <chrono>
#include <new>

namespace vigil::notify {

namespace {

// More reply lines than this is not a server we can talk to.
constexpr int kMaxReplyLines = 200;

bool Digit(char c) {
    return c >= '0' && c <= '9';
}

class Dialogue {
public:
    Dialogue(MailTransport& transport, int timeoutSeconds)
        : transport_(transport),
          timeout_(timeoutSeconds > 0 ? timeoutSeconds : kDefaultSmtpStepTimeoutSeconds) {}

    // Sends a command (without its line end) and reads the reply; false with error_ set when
    // the transport failed.
    bool Command(const std::string& command, SmtpReply& reply) {
        return Check(transport_.Send(command + "\r\n", timeout_), command) &&
               Check(ReadReply(transport_, timeout_, reply), command);
    }
    bool Reply(SmtpReply& reply, std::string_view step) {
        return Check(ReadReply(transport_, timeout_, reply), step);
    }
    bool SendData(std::string_view bytes) {
        return Check(transport_.Send(bytes, timeout_), "the message");
    }
    // Ends a dialogue that the server refused, politely; its outcome changes nothing.
    void Quit() {
        SmtpReply reply;
        if (transport_.Send("QUIT\r\n", timeout_).ok)
            ReadReply(transport_, timeout_, reply);
    }

    std::string error;

private:
    bool Check(const TransportStatus& status, std::string_view step) {
        if (!status.ok)
            error = std::string(step.substr(0, step.find(' '))) + ": " + status.error;
        return status.ok;
    }

    MailTransport& transport_;
    int timeout_;
};

bool Positive(const SmtpReply& reply) {
    return reply.code >= 200 && reply.code < 300;
}

std::string Refused(std::string_view step, const SmtpReply& reply) {
    return std::string(step) + " refused: " + std::to_string(reply.code) + " " + reply.text;
}

SendResult Run(MailTransport& transport, const SmtpServerAddress& server, const MailMessage& given,
               const SmtpOptions& options) {
    MailMessage message = given;
    const std::string sender = CleanAddress(message.from);
    if (sender.empty())
        return SendResult::Failure("no sender address");
    if (message.to.empty())
        return SendResult::Failure("no recipient");
    for (const std::string& recipient : message.to) {
        if (CleanAddress(recipient).empty())
            return SendResult::Failure("an empty recipient address");
    }
    // Longer addresses are not SMTP's (a path is at most 256 characters with its brackets),
    // and would give header lines beyond the limit.
    for (const std::string& address : message.to) {
        if (CleanAddress(address).size() > kMaxAddressLength)
            return SendResult::Failure("a recipient address longer than SMTP allows");
    }
    if (sender.size() > kMaxAddressLength)
        return SendResult::Failure("a sender address longer than SMTP allows");
    const auto now = std::chrono::system_clock::now();
    if (message.date.empty())
        message.date = MailDate(now);
    if (message.messageId.empty())
        message.messageId = NewMessageId(sender, now);
    const std::string data = DotStuff(ComposeMessage(message));
    std::string client = CleanAddress(options.clientName);
    if (client.empty())
        client = "localhost";

    Dialogue dialogue(transport, options.stepTimeoutSeconds);
    const TransportStatus connected =
        transport.Connect(server.host, server.port,
                          options.stepTimeoutSeconds > 0 ? options.stepTimeoutSeconds
                                                         : kDefaultSmtpStepTimeoutSeconds);
    if (!connected.ok)
        return SendResult::Failure("connect: " + connected.error);

    SmtpReply reply;
    if (!dialogue.Reply(reply, "greeting"))
        return SendResult::Failure(dialogue.error);
    if (!Positive(reply)) {
        dialogue.Quit();
        return SendResult::Failure(Refused("greeting", reply));
    }

    if (!dialogue.Command("EHLO " + client, reply))
        return SendResult::Failure(dialogue.error);
    if (reply.code >= 500 && reply.code < 600) {
        // A server that does not know EHLO still speaks the original protocol.
        if (!dialogue.Command("HELO " + client, reply))
            return SendResult::Failure(dialogue.error);
        if (!Positive(reply)) {
            dialogue.Quit();
            return SendResult::Failure(Refused("HELO", reply));
        }
    } else if (!Positive(reply)) {
        dialogue.Quit();
        return SendResult::Failure(Refused("EHLO", reply));
    }

    if (!dialogue.Command("MAIL FROM:<" + sender + ">", reply))
        return SendResult::Failure(dialogue.error);
    if (!Positive(reply)) {
        dialogue.Quit();
        return SendResult::Failure(Refused("MAIL FROM", reply));
    }
    for (const std::string& recipient : message.to) {
        const std::string address = CleanAddress(recipient);
        if (!dialogue.Command("RCPT TO:<" + address + ">", reply))
            return SendResult::Failure(dialogue.error);
        if (!Positive(reply)) {
            dialogue.Quit();
            return SendResult::Failure(Refused("RCPT TO <" + address + ">", reply));
        }
    }

    if (!dialogue.Command("DATA", reply))
        return SendResult::Failure(dialogue.error);
    if (reply.code < 300 || reply.code >= 400) {
        dialogue.Quit();
        return SendResult::Failure(Refused("DATA", reply));
    }
    if (!dialogue.SendData(data) || !dialogue.Reply(reply, "the message"))
        return SendResult::Failure(dialogue.error);
    if (!Positive(reply)) {
        dialogue.Quit();
        return SendResult::Failure(Refused("the message", reply));
    }

    dialogue.Command("QUIT", reply); // the message is accepted already, whatever QUIT gets
    return SendResult::Sent();
}

} // namespace

TransportStatus ReadReply(MailTransport& transport, int timeoutSeconds, SmtpReply& reply) {
    reply = {};
    for (int lines = 0; lines < kMaxReplyLines; ++lines) {
        std::string line;
        TransportStatus status = transport.ReceiveLine(line, timeoutSeconds);
        if (!status.ok)
            return status;
        if (line.size() < 3 || !Digit(line[0]) || !Digit(line[1]) || !Digit(line[2]) ||
            (line.size() > 3 && line[3] != ' ' && line[3] != '-'))
            return TransportStatus::Failure("not an SMTP reply: " + line.substr(0, 80));
        const int code = (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
        if (lines > 0 && code != reply.code)
            return TransportStatus::Failure("a reply whose lines have different codes");
        reply.code = code;
        if (lines > 0)
            reply.text += '\n';
        reply.text += line.size() > 4 ? line.substr(4) : std::string();
        if (line.size() == 3 || line[3] == ' ')
            return TransportStatus::Ok();
    }
    return TransportStatus::Failure("a reply of too many lines");
}

std::string DotStuff(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 16);
    bool lineStart = true;
    for (char c : text) {
        if (lineStart && c == '.')
            out += '.';
        out += c;
        lineStart = c == '\n';
    }
    out += ".\r\n";
    return out;
}

SendResult SendMail(MailTransport& transport, const SmtpServerAddress& server,
                    const MailMessage& message, const SmtpOptions& options) {
    SendResult result;
    try {
        result = Run(transport, server, message, options);
    } catch (const std::bad_alloc&) {
        result = SendResult::Failure("out of memory");
    }
    transport.Close();
    return result;
}

SendResult SendMail(MailTransport& transport, std::string_view smtpServer,
                    const MailMessage& message, const SmtpOptions& options) {
    const auto server = ParseSmtpServer(smtpServer);
    if (!server)
        return SendResult::Failure("not a server name: " + HeaderText(smtpServer));
    return SendMail(transport, *server, message, options);
}

} // namespace vigil::notify
