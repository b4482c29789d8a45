#include "vigil/notify/smtp_dialogue.h"

#include "fake_transport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace vigil::notify;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using vigil::notify::testing::ScriptedTransport;

namespace {

MailMessage Plain() {
    MailMessage message;
    message.from = "alerts@vigil.example";
    message.to = {"ops@example.com"};
    message.subject = "Error : http://a.example has reported an error";
    message.body = "An error has been reported on http://a.example\r\n\r\n.done\r\n..twice";
    message.date = "Thu, 10 Dec 2026 13:10:40 +0000";
    message.messageId = "<42@vigil.example>";
    return message;
}

SmtpOptions Options() {
    SmtpOptions options;
    options.clientName = "monitor.local";
    options.stepTimeoutSeconds = 7;
    return options;
}

TEST(SmtpDialogue, SendsExactlyTheseBytesOnTheHappyPath) {
    ScriptedTransport transport({"220 mx.example ESMTP", "250-mx.example", "250-8BITMIME",
                                 "250 SIZE 1000000", "250 sender ok", "250 recipient ok",
                                 "354 go ahead", "250 queued as 1", "221 bye"});
    const SendResult result = SendMail(transport, "mx.example:2525", Plain(), Options());
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(transport.host, "mx.example");
    EXPECT_EQ(transport.port, 2525);
    EXPECT_EQ(transport.connectTimeout, 7);
    EXPECT_EQ(transport.sent, "EHLO monitor.local\r\n"
                              "MAIL FROM:<alerts@vigil.example>\r\n"
                              "RCPT TO:<ops@example.com>\r\n"
                              "DATA\r\n"
                              "From: alerts@vigil.example\r\n"
                              "To: ops@example.com\r\n"
                              "Subject: Error : http://a.example has reported an error\r\n"
                              "Date: Thu, 10 Dec 2026 13:10:40 +0000\r\n"
                              "Message-ID: <42@vigil.example>\r\n"
                              "MIME-Version: 1.0\r\n"
                              "Content-Type: text/plain; charset=windows-1252\r\n"
                              "Content-Transfer-Encoding: quoted-printable\r\n"
                              "\r\n"
                              "An error has been reported on http://a.example\r\n"
                              "\r\n"
                              "..done\r\n"
                              "...twice\r\n"
                              ".\r\n"
                              "QUIT\r\n");
    EXPECT_EQ(transport.closes, 1);
    for (int timeout : transport.timeouts)
        EXPECT_EQ(timeout, 7);
}

TEST(SmtpDialogue, FillsInDateAndMessageIdWhenTheyAreMissing) {
    ScriptedTransport transport(
        {"220 hi", "250 ok", "250 ok", "250 ok", "354 go", "250 ok", "221 bye"});
    MailMessage message = Plain();
    message.date.clear();
    message.messageId.clear();
    ASSERT_TRUE(SendMail(transport, "mx", message).ok);
    EXPECT_EQ(transport.port, 25);
    EXPECT_THAT(transport.sent, ::testing::ContainsRegex("\r\nDate: [A-Z][a-z][a-z], [0-9]+ "));
    EXPECT_THAT(transport.sent, HasSubstr("@vigil.example>\r\n"));
    EXPECT_THAT(transport.sent, HasSubstr("\r\nMessage-ID: <"));
}

struct Case {
    const char* name;
    std::vector<std::string> server;
    std::vector<std::string> recipients;
    bool ok;
    std::string error; // a part of the failure's text
    std::vector<std::string> commands;
    bool dataAccepted = true;
};

class SmtpDialogueTable : public ::testing::TestWithParam<Case> {};

TEST_P(SmtpDialogueTable, ChecksEveryReply) {
    const Case& c = GetParam();
    ScriptedTransport transport(c.server);
    transport.dataAccepted = c.dataAccepted;
    MailMessage message = Plain();
    message.to = c.recipients;
    const SendResult result = SendMail(transport, "mx", message, Options());
    EXPECT_EQ(result.ok, c.ok) << result.error;
    if (!c.ok) {
        EXPECT_THAT(result.error, HasSubstr(c.error));
    }
    EXPECT_THAT(transport.Commands(), ElementsAreArray(c.commands));
    EXPECT_EQ(transport.closes, 1);
}

const std::vector<std::string> kOne = {"ops@example.com"};
const std::vector<std::string> kTwo = {"ops@example.com", "web@example.com"};

INSTANTIATE_TEST_SUITE_P(
    Cases, SmtpDialogueTable,
    ::testing::Values(
        Case{"EhloRefusedFallsBackToHelo",
             {"220 old", "500 what?", "250 hello", "250 ok", "250 ok", "354 go", "250 ok",
              "221 bye"},
             kOne,
             true,
             "",
             {"EHLO monitor.local", "HELO monitor.local", "MAIL FROM:<alerts@vigil.example>",
              "RCPT TO:<ops@example.com>", "DATA", "QUIT"}},
        Case{"HeloRefusedToo",
             {"220 old", "502 no", "501 no", "221 bye"},
             kOne,
             false,
             "HELO refused: 501 no",
             {"EHLO monitor.local", "HELO monitor.local", "QUIT"}},
        Case{"EhloTemporarilyRefusedIsNoFallBack",
             {"220 busy", "421 closing", "221 bye"},
             kOne,
             false,
             "EHLO refused: 421",
             {"EHLO monitor.local", "QUIT"}},
        Case{"GreetingRefused",
             {"554 no service", "221 bye"},
             kOne,
             false,
             "greeting refused: 554 no service",
             {"QUIT"}},
        Case{"SecondRecipientRefused",
             {"220 hi", "250 ok", "250 ok", "250 ok", "550 no such user", "221 bye"},
             kTwo,
             false,
             "RCPT TO <web@example.com> refused: 550 no such user",
             {"EHLO monitor.local", "MAIL FROM:<alerts@vigil.example>", "RCPT TO:<ops@example.com>",
              "RCPT TO:<web@example.com>", "QUIT"}},
        Case{"BothRecipientsAccepted",
             {"220 hi", "250 ok", "250 ok", "250 ok", "251 forwarded", "354 go", "250 ok",
              "221 bye"},
             kTwo,
             true,
             "",
             {"EHLO monitor.local", "MAIL FROM:<alerts@vigil.example>", "RCPT TO:<ops@example.com>",
              "RCPT TO:<web@example.com>", "DATA", "QUIT"}},
        Case{"SenderRefused",
             {"220 hi", "250 ok", "553 not you", "221 bye"},
             kOne,
             false,
             "MAIL FROM refused: 553",
             {"EHLO monitor.local", "MAIL FROM:<alerts@vigil.example>", "QUIT"}},
        Case{"DataRefused",
             {"220 hi", "250 ok", "250 ok", "250 ok", "554 no data", "221 bye"},
             kOne,
             false,
             "DATA refused: 554 no data",
             {"EHLO monitor.local", "MAIL FROM:<alerts@vigil.example>", "RCPT TO:<ops@example.com>",
              "DATA", "QUIT"},
             false},
        Case{"MessageRefusedAfterItsData",
             {"220 hi", "250 ok", "250 ok", "250 ok", "354 go", "552 too big", "221 bye"},
             kOne,
             false,
             "the message refused: 552 too big",
             {"EHLO monitor.local", "MAIL FROM:<alerts@vigil.example>", "RCPT TO:<ops@example.com>",
              "DATA", "QUIT"}},
        Case{"TimeOutWaitingForTheGreeting", {"<timeout>"}, kOne, false, "timed out", {}},
        Case{"TimeOutAfterRcpt",
             {"220 hi", "250 ok", "250 ok", "<timeout>"},
             kOne,
             false,
             "RCPT: timed out",
             {"EHLO monitor.local", "MAIL FROM:<alerts@vigil.example>",
              "RCPT TO:<ops@example.com>"}},
        Case{"MultiLineRepliesAreReadWhole",
             {"220-mx.example welcomes", "220-you warmly", "220 really", "250-mx.example",
              "250-PIPELINING", "250 HELP", "250 ok", "250-accepted", "250 twice", "354 go",
              "250-queued", "250 ok", "221 bye"},
             kOne,
             true,
             "",
             {"EHLO monitor.local", "MAIL FROM:<alerts@vigil.example>", "RCPT TO:<ops@example.com>",
              "DATA", "QUIT"}},
        Case{"AReplyWhoseLinesDisagreeIsAFailure",
             {"220-mx", "250 mixed"},
             kOne,
             false,
             "different codes",
             {}},
        Case{"GarbageIsNotAReply", {"hello there"}, kOne, false, "not an SMTP reply", {}},
        Case{"QuitRefusedAfterTheMessageWasAccepted",
             {"220 hi", "250 ok", "250 ok", "250 ok", "354 go", "250 queued", "500 eh?"},
             kOne,
             true,
             "",
             {"EHLO monitor.local", "MAIL FROM:<alerts@vigil.example>", "RCPT TO:<ops@example.com>",
              "DATA", "QUIT"}},
        Case{"NoRecipientSendsNothing", {"220 hi"}, {}, false, "no recipient", {}},
        Case{"AnOverlongRecipientSendsNothing",
             {"220 hi"},
             {"ops@example.com", std::string(250, 'x') + "@example.com"},
             false,
             "longer than SMTP allows",
             {}},
        Case{"AnEmptyRecipientSendsNothing", {"220 hi"}, {"\r\n"}, false, "empty recipient", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SmtpDialogue, LineBreaksInTheSubjectAndAddressesCannotAddHeadersOrCommands) {
    ScriptedTransport transport(
        {"220 hi", "250 ok", "250 ok", "250 ok", "354 go", "250 ok", "221 bye"});
    MailMessage message = Plain();
    message.subject =
        "Error : http://a.example\r\nBcc: victim@example.com\r\n has reported an error";
    message.to = {"ops@example.com\r\nRCPT TO:<victim@example.com>"};
    message.from = "alerts@vigil.example\r\nRSET";
    ASSERT_TRUE(SendMail(transport, "mx", message, Options()).ok);
    EXPECT_THAT(transport.sent,
                HasSubstr("\r\nSubject: Error : http://a.example Bcc: victim@example.com  has "
                          "reported an error\r\n"));
    EXPECT_THAT(transport.sent, ::testing::Not(HasSubstr("\r\nBcc:")));
    EXPECT_THAT(transport.sent, ::testing::Not(HasSubstr("\r\nRSET")));
    EXPECT_THAT(transport.Commands(),
                ElementsAreArray(std::vector<std::string>{
                    "EHLO monitor.local", "MAIL FROM:<alerts@vigil.exampleRSET>",
                    "RCPT TO:<ops@example.comRCPT TO:<victim@example.com>>", "DATA", "QUIT"}));
}

TEST(SmtpDialogue, AServerFieldThatNamesNoServerFailsBeforeConnecting) {
    ScriptedTransport transport({"220 hi"});
    const SendResult result = SendMail(transport, "mx:70000", Plain(), Options());
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(transport.host.empty());
}

TEST(SmtpDialogue, AConnectionThatCannotBeMadeIsAFailure) {
    ScriptedTransport transport({});
    transport.refuseConnect = true;
    const SendResult result = SendMail(transport, "mx", Plain(), Options());
    EXPECT_FALSE(result.ok);
    EXPECT_THAT(result.error, HasSubstr("connection refused"));
}

TEST(DotStuff, DoublesTheLeadingDotOfEveryLineAndEndsTheData) {
    EXPECT_EQ(DotStuff(".\r\n..\r\na.b\r\n"), "..\r\n...\r\na.b\r\n.\r\n");
    EXPECT_EQ(DotStuff(""), ".\r\n");
}

} // namespace
