// The notification ports on the real platform, against the local servers that
// notify_driver.py started: SMTP through Win32MailSender over Winsock, pages through
// Win32PageLoader over WinINet. The driver checks afterwards what the SMTP server received.
#include "vigil/engine/win32/win32_message_pump.h"
#include "vigil/forms/text_box.h"
#include "vigil/notify/win32/win32_mail_sender.h"
#include "vigil/notify/win32/win32_page_loader.h"

#include "tests/support/timer_probe.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

using namespace vigil;
using namespace vigil::notify;

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string Server(const char* portVariable) {
    return "127.0.0.1:" + Env(portVariable);
}

using testenv::TimerProbe;

// The HTML body both sides know: one line of well over 998 characters, with "=" and a byte
// outside ASCII in it.
std::string HtmlBody() {
    std::string html = "<body text=#000000 leftmargin=10><table width=100% border=0>";
    for (int i = 0; i < 60; ++i)
        html += "<tr><td bgcolor=#BBC47A width='75%'>&nbsp; </td></tr>";
    return html + "<p>caf\xE9</p></body>";
}

MailMessage Message(std::vector<std::string> to, std::string subject, std::string body,
                    BodyType type) {
    MailMessage message;
    message.from = "alerts@vigil.example";
    message.to = std::move(to);
    message.subject = std::move(subject);
    message.body = std::move(body);
    message.type = type;
    return message;
}

class NotifyWine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(Env("VIGIL_SMTP_PORT").empty()) << "run through notify_driver.py";
    }

    engine::win32::Win32MessagePump pump;
};

// First, so that the transfer it gives up on has ended on its own before the program exits.
TEST_F(NotifyWine, APageThatNeverArrivesCompletesWithoutATitle) {
    win32::Win32PageLoader loader(pump, 1);
    TimerProbe probe(50);
    forms::TextBox webGo2("webGo2");
    PageLoadResult seen;
    loader.Navigate("http://127.0.0.1:" + Env("VIGIL_HTTP_SILENT_PORT") + "/verify.asp",
                    [&](const PageLoadResult& result) {
                        seen = result;
                        webGo2.SetText("Done");
                    });
    EXPECT_EQ(webGo2.Text(), "Done");
    EXPECT_FALSE(seen.ok);
    EXPECT_EQ(loader.LocationName(), "");
    EXPECT_GT(probe.ticks, 0);
}

TEST_F(NotifyWine, PlainTextReachesBothRecipients) {
    win32::Win32MailSender sender(pump);
    const SendResult result = sender.Send(
        Server("VIGIL_SMTP_PORT"),
        Message({"ops@example.com", "web@example.com"},
                "Error : http://plain.example\r\nBcc: victim@example.com has reported an error",
                "Vigil web site monitoring report\r\n.a line with a dot\r\nUptime : 75% (3) - "
                "DownTime: 25% (1)",
                BodyType::PlainText));
    EXPECT_TRUE(result.ok) << result.error;
}

TEST_F(NotifyWine, HtmlReachesItsRecipientThroughAServerFieldWithSpaces) {
    win32::Win32MailSender sender(pump);
    const SendResult result =
        sender.Send(" " + Server("VIGIL_SMTP_PORT") + " ",
                    Message({"ops@example.com"}, "http://html.example is now online", HtmlBody(),
                            BodyType::Html));
    EXPECT_TRUE(result.ok) << result.error;
}

TEST_F(NotifyWine, ASecondRecipientRefusedIsASendError) {
    win32::Win32MailSender sender(pump);
    const SendResult result =
        sender.Send(Server("VIGIL_SMTP_REFUSING_PORT"),
                    Message({"ops@example.com", "nobody@example.com"},
                            "http://refused.example is back online", "body", BodyType::PlainText));
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("550"), std::string::npos) << result.error;
    EXPECT_NE(result.error.find("nobody@example.com"), std::string::npos) << result.error;
}

TEST_F(NotifyWine, ASilentServerTimesOutWhileTheMessageLoopRuns) {
    SmtpOptions options;
    options.stepTimeoutSeconds = 1;
    win32::Win32MailSender sender(pump, options);
    TimerProbe probe(50);
    const SendResult result =
        sender.Send(Server("VIGIL_SMTP_SILENT_PORT"),
                    Message({"ops@example.com"}, "subject", "body", BodyType::PlainText));
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("timed out"), std::string::npos) << result.error;
    EXPECT_GT(probe.ticks, 0);
}

// The failing sends get short steps, so that even a slow name lookup cannot outlast the test.
SmtpOptions ShortSteps() {
    SmtpOptions options;
    options.stepTimeoutSeconds = 5;
    return options;
}

TEST_F(NotifyWine, NobodyListeningIsASendError) {
    win32::Win32MailSender sender(pump, ShortSteps());
    const SendResult result =
        sender.Send(Server("VIGIL_CLOSED_PORT"),
                    Message({"ops@example.com"}, "subject", "body", BodyType::PlainText));
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("connect"), std::string::npos) << result.error;
}

TEST_F(NotifyWine, AnUnknownHostIsASendError) {
    win32::Win32MailSender sender(pump, ShortSteps());
    EXPECT_FALSE(
        sender
            .Send("vigil-smtp.invalid", Message({"ops@example.com"}, "s", "b", BodyType::PlainText))
            .ok);
}

struct PageCase {
    const char* path;
    bool ok;
    const char* title;
};

TEST_F(NotifyWine, ThePageLoaderCompletesWithThePagesTitle) {
    const PageCase cases[] = {{"/titled", true, "Vigil Emailer"},
                              {"/untitled", true, ""},
                              {"/spaced", true, "Vigil Emailer"}};
    win32::Win32PageLoader loader(pump, 10);
    for (const PageCase& c : cases) {
        forms::TextBox webGo1("webGo1");
        PageLoadResult seen;
        int completions = 0;
        loader.Navigate("http://127.0.0.1:" + Env("VIGIL_HTTP_PORT") + c.path,
                        [&](const PageLoadResult& result) {
                            seen = result;
                            ++completions;
                            webGo1.SetText("Done");
                        });
        EXPECT_EQ(completions, 1) << c.path;
        EXPECT_EQ(webGo1.Text(), "Done") << c.path;
        EXPECT_EQ(seen.ok, c.ok) << c.path << " " << seen.error;
        EXPECT_EQ(seen.title, c.title) << c.path;
        EXPECT_EQ(loader.LocationName(), c.title) << c.path;
    }
}

} // namespace
