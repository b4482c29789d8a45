// The failure and recovery e-mails through the real Winsock mail sender and the WinINet page
// loader, against the SMTP server and the web-service stand-in that emailer_driver.py started
// (their ports arrive in the environment). What arrived at the SMTP server is checked by the
// driver once this program has ended.
#include "vigil/engine/activity_log.h"
#include "vigil/engine/notification_sets.h"
#include "vigil/engine/win32/win32_clock_locale.h"
#include "vigil/engine/win32/win32_file_system.h"
#include "vigil/engine/win32/win32_message_pump.h"
#include "vigil/forms/windows.h"
#include "vigil/notify/emailer.h"
#include "vigil/notify/win32/win32_mail_sender.h"
#include "vigil/notify/win32/win32_page_loader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace vigil;
using namespace vigil::notify;
using ::testing::ElementsAre;

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The test must not stop at a message box.
class NoDialogs : public engine::Dialogs {
public:
    engine::MsgBoxResult MsgBox(const std::string&, const std::string&,
                                engine::MsgBoxButtons) override {
        return engine::MsgBoxResult::Ok;
    }
};

class EmailerWine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(Env("VIGIL_SMTP_PORT").empty()) << "run through emailer_driver.py";
        settings.smtpServer.SetText("127.0.0.1:" + Env("VIGIL_SMTP_PORT"));
        settings.EmailAddress.SetText("ops@example.com");
    }

    void MakeEmailer(const std::string& servicePortVariable, int pageTimeoutSeconds = 30) {
        pages = std::make_unique<win32::Win32PageLoader>(pump, pageTimeoutSeconds);
        EmailerOptions options;
        options.webServiceAddress = "http://127.0.0.1:" + Env(servicePortVariable.c_str());
        options.logoAddress = "http://127.0.0.1/emailreport.gif";
        options.senderAddress = "vigil@vigil.example";
        emailer = std::make_unique<Emailer>(w, log, mail, *pages, clock, pump, options);
    }

    void AddSite(const std::string& site, const std::string& one, const std::string& two,
                 const std::string& up, const std::string& down) {
        form.domainList.AddItem(site);
        form.emailList1.AddItem(one);
        form.emailList2.AddItem(two);
        form.uptimeList.AddItem(up);
        form.downTimeList.AddItem(down);
        form.emailChecksOK.AddItem(site);
    }

    std::vector<std::string> LogLines() const {
        std::vector<std::string> lines;
        std::istringstream text(w.reportWindow.report.Text());
        std::string line;
        while (std::getline(text, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }

    forms::Windows w;
    forms::Form1& form = w.form1;
    forms::VigilEmailer& settings = w.emailer;
    engine::win32::Win32ClockLocale clock;
    engine::win32::Win32FileSystem files;
    NoDialogs dialogs;
    engine::win32::Win32MessagePump pump;
    engine::ActivityLog log{w.reportWindow.report, clock, files, dialogs};
    win32::Win32MailSender mail{pump};
    std::unique_ptr<win32::Win32PageLoader> pages;
    std::unique_ptr<Emailer> emailer;
};

} // namespace

TEST_F(EmailerWine, FailureInPlainTextReachesAllThreeRecipients) {
    MakeEmailer("VIGIL_SERVICE_PORT");
    settings.emailNotify.SetText("POP3 Emailer");
    form.uptimeEmail.SetValue(1);
    const std::string site = "http://down.example/\r\nBcc: victim@example.com";
    AddSite(site, "web@example.com", "boss@example.com", "3", "1");

    emailer->SendFailureNotification(site, "404 not found");

    EXPECT_THAT(LogLines(),
                ElementsAre(">Sending failure notification email(s) via SMTP",
                            ">Emailing - ops@example.com", ">Emailing - web@example.com",
                            ">Emailing - boss@example.com"));
    EXPECT_TRUE(engine::SetContains(form.emailChecks, site));
}

TEST_F(EmailerWine, RecoveryInHtmlCarriesTheAddressAsText) {
    MakeEmailer("VIGIL_SERVICE_PORT");
    settings.emailNotify.SetText("POP3 Emailer");
    form.htmlEmail.SetValue(1);
    const std::string site = "http://up.example/?q=<script>alert(1)</script>";
    AddSite(site, "", "web@example.com", "1", "7");
    engine::SetRemove(form.emailChecksOK, site);

    emailer->SendRecoveryNotification(site, "OK");

    EXPECT_THAT(LogLines(),
                ElementsAre(">Sending recovery notification email(s) via SMTP",
                            ">Emailing - ops@example.com", ">Emailing - web@example.com"));
    EXPECT_TRUE(engine::SetContains(form.emailChecksOK, site));
}

TEST_F(EmailerWine, AServerThatRefusesTheThirdRecipientLeavesTheSiteOpen) {
    MakeEmailer("VIGIL_SERVICE_PORT");
    settings.emailNotify.SetText("POP3 Emailer");
    const std::string site = "http://refused.example/";
    AddSite(site, "web@example.com", "nobody@refused.example", "0", "0");

    emailer->SendFailureNotification(site, "request timed out");

    EXPECT_THAT(LogLines(),
                ElementsAre(">Sending failure notification email(s) via SMTP",
                            ">Emailing - ops@example.com", ">Emailing - web@example.com",
                            ">Emailing - nobody@refused.example", "sending failed"));
    EXPECT_FALSE(engine::SetContains(form.emailChecks, site));
}

TEST_F(EmailerWine, WebServiceRepliesWithAndWithoutTheExpectedTitle) {
    MakeEmailer("VIGIL_SERVICE_PORT");
    settings.emailNotify.SetText("Vigil Emailer");
    settings.EmailAddress.SetText("good@example.com");
    const std::string site = "http://service.example/a b";
    AddSite(site, "busy@example.com", "", "0", "0");

    emailer->SendFailureNotification(site, "404 not found");

    EXPECT_THAT(LogLines(), ElementsAre("Sending notification emails via Vigil Emailer",
                                        ">Sending Notification - good@example.com",
                                        ">Sending Notification - busy@example.com",
                                        ">Email Notification Failed (net congestion)"));
    EXPECT_EQ(form.webGo1.Text(), "Done");
    EXPECT_EQ(form.webGo2.Text(), "Done");
    EXPECT_TRUE(engine::SetContains(form.emailChecks, site));
}

TEST_F(EmailerWine, AWebServiceThatNeverAnswersEndsAsAReplyWithoutTheTitle) {
    MakeEmailer("VIGIL_SILENT_PORT", 3);
    settings.emailNotify.SetText("Vigil Emailer");
    settings.EmailAddress.SetText("good@example.com");
    const std::string site = "http://silent.example/";
    AddSite(site, "", "", "0", "0");

    emailer->SendFailureNotification(site, "404 not found");

    EXPECT_THAT(LogLines(), ElementsAre("Sending notification emails via Vigil Emailer",
                                        ">Sending Notification - good@example.com",
                                        ">Email Notification Failed (net congestion)"));
    EXPECT_TRUE(engine::SetContains(form.emailChecks, site));
}
