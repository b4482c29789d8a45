#include "vigil/notify/emailer.h"

#include "vigil/engine/notification_sets.h"
#include "vigil/engine/tests/fakes.h"
#include "vigil/notify/tests/fakes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

using namespace vigil;
using namespace vigil::notify;
using ::testing::ElementsAre;

namespace {

constexpr const char* kSite = "http://www.example.com/";

struct EmailerFixture : ::testing::Test {
    forms::Windows w;
    forms::Form1& form = w.form1;
    forms::VigilEmailer& settings = w.emailer;
    engine::fakes::Clock clock;
    engine::fakes::Files files;
    engine::fakes::RecordingDialogs dialogs;
    engine::fakes::CountingPump pump;
    engine::ActivityLog log{w.reportWindow.report, clock, files, dialogs};
    fakes::RecordingMailSender mail;
    fakes::ScriptedPageLoader pages;
    fakes::SteadyClock steady;
    std::unique_ptr<Emailer> emailer;

    EmailerFixture() {
        EmailerOptions options;
        options.webServiceAddress = "http://service.test";
        options.logoAddress = "http://service.test/emailreport.gif";
        options.senderAddress = "vigil@service.test";
        options.replyWait = std::chrono::seconds(75);
        options.replyPoll = std::chrono::milliseconds(0);
        options.steadyNow = [this] { return steady.now; };
        // Each turn of the message loop lets a second pass.
        pump.onDoEvents = [this] { steady.Advance(std::chrono::seconds(1)); };
        emailer = std::make_unique<Emailer>(w, log, mail, pages, clock, pump, options);

        AddSite("http://other/", "", "");
        AddSite(kSite, "one@example.com", "two@example.com");
        form.uptimeList.SetList(1, "3");
        form.downTimeList.SetList(1, "1");
        settings.EmailAddress.SetText("global@example.com");
        settings.smtpServer.SetText("127.0.0.1:2525");
    }

    void AddSite(const std::string& site, const std::string& one, const std::string& two) {
        form.domainList.AddItem(site);
        form.emailList1.AddItem(one);
        form.emailList2.AddItem(two);
        form.uptimeList.AddItem("0");
        form.downTimeList.AddItem("0");
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

    std::vector<std::string> Recipients() const {
        std::vector<std::string> to;
        for (const auto& sent : mail.sent)
            to.insert(to.end(), sent.message.to.begin(), sent.message.to.end());
        return to;
    }
};

} // namespace

// The web service.

TEST_F(EmailerFixture, WebServiceGetsOneRequestForEachAddressAndMarksTheSite) {
    settings.emailNotify.SetText("Vigil Emailer");
    emailer->SendFailureNotification(kSite, "404 not found");

    EXPECT_THAT(pages.addresses,
                ElementsAre("http://service.test/verify.asp?site=http%3A%2F%2Fwww%2Eexample%2Ecom%"
                            "2F&email=global%40example%2Ecom",
                            "http://service.test/verify.asp?site=http%3A%2F%2Fwww%2Eexample%2Ecom%"
                            "2F&email=one%40example%2Ecom",
                            "http://service.test/verify.asp?site=http%3A%2F%2Fwww%2Eexample%2Ecom%"
                            "2F&email=two%40example%2Ecom"));
    EXPECT_THAT(LogLines(), ElementsAre("Sending notification emails via Vigil Emailer",
                                        ">Sending Notification - global@example.com",
                                        ">Sending Notification - one@example.com",
                                        ">Sending Notification - two@example.com"));
    EXPECT_EQ(form.webGo1.Text(), "Done");
    EXPECT_EQ(form.webGo2.Text(), "Done");
    EXPECT_EQ(form.webGo3.Text(), "Done");
    EXPECT_THAT(form.emailChecks.Items(), ElementsAre(kSite));
    EXPECT_TRUE(mail.sent.empty());
}

TEST_F(EmailerFixture, WebServiceSendsForTheEmptyGlobalAddressAndSkipsEmptyOrMissingSiteAddresses) {
    settings.emailNotify.SetText("Vigil Emailer");
    settings.EmailAddress.SetText("");
    form.emailList1.SetList(1, "");
    form.emailList2.SetList(1, "Error");
    form.webGo3.SetText("Done");

    emailer->SendFailureNotification(kSite, "404 not found");

    ASSERT_EQ(pages.addresses.size(), 1u);
    EXPECT_EQ(pages.addresses[0],
              "http://service.test/verify.asp?site=http%3A%2F%2Fwww%2Eexample%2Ecom%2F&email=");
    EXPECT_THAT(LogLines(), ElementsAre("Sending notification emails via Vigil Emailer",
                                        ">Sending Notification - "));
    EXPECT_EQ(form.webGo3.Text(), ""); // cleared even for a skipped slot
    EXPECT_THAT(form.emailChecks.Items(), ElementsAre(kSite));
}

TEST_F(EmailerFixture, AReplyWithoutTheTitleOrNoReplyAtAllIsLoggedAndTheRunGoesOn) {
    settings.emailNotify.SetText("Vigil Emailer");
    pages.titles = {std::string("Service Unavailable"), std::nullopt, std::string("Vigil Emailer")};

    emailer->SendFailureNotification(kSite, "404 not found");

    EXPECT_EQ(pages.addresses.size(), 3u);
    EXPECT_THAT(LogLines(), ElementsAre("Sending notification emails via Vigil Emailer",
                                        ">Sending Notification - global@example.com",
                                        ">Email Notification Failed (net congestion)",
                                        ">Sending Notification - one@example.com",
                                        ">Email Notification Failed (net congestion)",
                                        ">Sending Notification - two@example.com"));
    // The hanging load was waited for up to the limit while the messages were served.
    EXPECT_GE(pump.calls, 75);
    EXPECT_LE(pump.calls, 76);
    EXPECT_EQ(form.webGo2.Text(), "");
    EXPECT_THAT(form.emailChecks.Items(), ElementsAre(kSite));

    // The late reply only sets its own flag; it cannot mark anything else.
    ASSERT_EQ(pages.pending.size(), 1u);
    pages.pending[0](PageLoadResult{true, "Vigil Emailer", {}});
    EXPECT_EQ(form.webGo2.Text(), "Done");
    EXPECT_EQ(LogLines().size(), 6u);
}

TEST_F(EmailerFixture, AReplyThatArrivesWhileTheLoopRunsEndsTheWait) {
    settings.emailNotify.SetText("Vigil Emailer");
    form.emailList1.SetList(1, "");
    form.emailList2.SetList(1, "");
    pages.titles = {std::nullopt};
    pump.onDoEvents = [this] {
        if (pump.calls == 3)
            pages.pending[0](PageLoadResult{true, "Vigil Emailer", {}});
    };

    emailer->SendFailureNotification(kSite, "404 not found");

    EXPECT_EQ(pump.calls, 3);
    EXPECT_THAT(LogLines(), ElementsAre("Sending notification emails via Vigil Emailer",
                                        ">Sending Notification - global@example.com"));
}

// What is sent at all.

TEST_F(EmailerFixture, NothingForANotifiedSiteAnUnknownSiteOrTheMethodNone) {
    struct Case {
        const char* method;
        const char* site;
        bool notified;
    };
    const Case cases[] = {
        {"Vigil Emailer", kSite, true},
        {"POP3 Emailer", kSite, true},
        {"Vigil Emailer", "http://unknown/", false},
        {"POP3 Emailer", "http://www.example.com", false}, // not the exact text
        {"None", kSite, false},
        {"vigil emailer", kSite, false},
    };
    for (const Case& c : cases) {
        form.emailChecks.Clear();
        if (c.notified)
            form.emailChecks.AddItem(c.site);
        settings.emailNotify.SetText(c.method);
        emailer->SendFailureNotification(c.site, "404 not found");
        EXPECT_TRUE(pages.addresses.empty()) << c.method << " " << c.site;
        EXPECT_TRUE(mail.sent.empty()) << c.method << " " << c.site;
        EXPECT_EQ(w.reportWindow.report.Text(), "") << c.method << " " << c.site;
        EXPECT_EQ(form.emailChecks.ListCount(), c.notified ? 1 : 0);
    }
}

TEST_F(EmailerFixture, TheLastOccurrenceOfTheSiteGivesItsAddresses) {
    AddSite(kSite, "third@example.com", "");
    settings.emailNotify.SetText("POP3 Emailer");
    emailer->SendFailureNotification(kSite, "404 not found");
    EXPECT_THAT(Recipients(), ElementsAre("global@example.com", "third@example.com"));
}

// SMTP.

TEST_F(EmailerFixture, SmtpSendsPlainTextToTheThreeRecipients) {
    settings.emailNotify.SetText("POP3 Emailer");
    settings.smtpServer.SetText(" 127.0.0.1:2525 ");
    form.uptimeEmail.SetValue(1);

    emailer->SendFailureNotification(kSite, "404 not found");

    EXPECT_THAT(Recipients(),
                ElementsAre("global@example.com", "one@example.com", "two@example.com"));
    for (const auto& sent : mail.sent) {
        EXPECT_EQ(sent.server, " 127.0.0.1:2525 "); // the field as typed
        EXPECT_EQ(sent.message.from, "vigil@service.test");
        EXPECT_EQ(sent.message.subject, "Error : http://www.example.com/ has reported an error");
        EXPECT_EQ(sent.message.type, BodyType::PlainText);
        EXPECT_EQ(sent.message.body,
                  FailurePlainBody({"07/12/2026", "09:30:00"}, kSite, "404 not found",
                                   MakeUptimeFigures("3", "1")));
    }
    EXPECT_THAT(LogLines(),
                ElementsAre(">Sending failure notification email(s) via SMTP",
                            ">Emailing - global@example.com", ">Emailing - one@example.com",
                            ">Emailing - two@example.com"));
    EXPECT_THAT(form.emailChecks.Items(), ElementsAre(kSite));
    EXPECT_EQ(form.htmlEmailText.Text(), "");
    EXPECT_TRUE(pages.addresses.empty());
}

TEST_F(EmailerFixture, SmtpSendsHtmlAssembledInTheHiddenField) {
    settings.emailNotify.SetText("POP3 Emailer");
    form.htmlEmail.SetValue(1);
    form.emailList1.SetList(1, "");

    emailer->SendFailureNotification(kSite, "404 not found");

    const std::string html =
        FailureHtmlBody("http://service.test/emailreport.gif", {"07/12/2026", "09:30:00"}, kSite,
                        "404 not found", std::nullopt);
    EXPECT_EQ(form.htmlEmailText.Text(), html);
    EXPECT_THAT(Recipients(), ElementsAre("global@example.com", "two@example.com"));
    for (const auto& sent : mail.sent) {
        EXPECT_EQ(sent.message.type, BodyType::Html);
        EXPECT_EQ(sent.message.body, html);
        EXPECT_EQ(sent.message.subject, "Error : http://www.example.com/ has reported an error");
    }
    // A skipped recipient still lets the loop run; so does every send.
    EXPECT_EQ(pump.calls, 3);
}

TEST_F(EmailerFixture, NoServerLogsOnEveryCheckAndLeavesTheSiteNotNotified) {
    settings.emailNotify.SetText("POP3 Emailer");
    settings.smtpServer.SetText("   ");
    emailer->SendFailureNotification(kSite, "404 not found");
    emailer->SendFailureNotification(kSite, "404 not found");
    EXPECT_THAT(LogLines(), ElementsAre("Email notification failed, no smtp server set up",
                                        "Email notification failed, no smtp server set up"));
    EXPECT_TRUE(mail.sent.empty());
    EXPECT_EQ(form.emailChecks.ListCount(), 0);
}

TEST_F(EmailerFixture, EachSendIsGuardedOnItsOwnAndOnlyAFailedThirdOneKeepsTheSiteOpen) {
    struct Case {
        std::vector<int> failures;
        int throwAt;
        std::vector<std::string> log;
        bool notified;
    };
    const std::vector<Case> cases = {
        {{1},
         -1,
         {">Sending failure notification email(s) via SMTP", ">Emailing - global@example.com",
          ">Emailing - one@example.com", "sending failed", ">Emailing - two@example.com"},
         true},
        {{},
         0,
         {">Sending failure notification email(s) via SMTP", ">Emailing - global@example.com",
          "sending failed", ">Emailing - one@example.com", ">Emailing - two@example.com"},
         true},
        {{2},
         -1,
         {">Sending failure notification email(s) via SMTP", ">Emailing - global@example.com",
          ">Emailing - one@example.com", ">Emailing - two@example.com", "sending failed"},
         false},
    };
    settings.emailNotify.SetText("POP3 Emailer");
    for (const Case& c : cases) {
        w.reportWindow.report.SetText("");
        form.emailChecks.Clear();
        mail.sent.clear();
        mail.failures = c.failures;
        mail.throwAt = c.throwAt;
        emailer->SendFailureNotification(kSite, "404 not found");
        EXPECT_EQ(mail.sent.size(), 3u);
        EXPECT_EQ(LogLines(), c.log);
        EXPECT_EQ(engine::SetContains(form.emailChecks, kSite), c.notified);
    }
    // After a failed third send the next failed check sends to everyone again.
    mail.sent.clear();
    mail.failures.clear();
    emailer->SendFailureNotification(kSite, "404 not found");
    EXPECT_EQ(mail.sent.size(), 3u);
    EXPECT_TRUE(engine::SetContains(form.emailChecks, kSite));
}

// Recovery.

TEST_F(EmailerFixture, RecoveryIsSentOnlyThroughSmtpWithTheSubjectOfItsTransport) {
    form.emailChecksOK.Clear();
    settings.emailNotify.SetText("Vigil Emailer");
    emailer->SendRecoveryNotification(kSite, "OK");
    EXPECT_TRUE(pages.addresses.empty());
    EXPECT_EQ(w.reportWindow.report.Text(), "");
    EXPECT_EQ(form.emailChecksOK.ListCount(), 0);

    settings.emailNotify.SetText("POP3 Emailer");
    form.emailList2.SetList(1, "");
    emailer->SendRecoveryNotification(kSite, "OK");
    ASSERT_EQ(mail.sent.size(), 2u);
    EXPECT_EQ(mail.sent[0].message.subject, "http://www.example.com/ is back online");
    EXPECT_EQ(mail.sent[0].message.body,
              RecoveryPlainBody({"07/12/2026", "09:30:00"}, kSite, std::nullopt));
    EXPECT_THAT(LogLines(),
                ElementsAre(">Sending recovery notification email(s) via SMTP",
                            ">Emailing - global@example.com", ">Emailing - one@example.com"));
    EXPECT_THAT(form.emailChecksOK.Items(), ElementsAre(kSite));

    form.emailChecksOK.Clear();
    form.htmlEmail.SetValue(1);
    form.uptimeEmail.SetValue(1);
    mail.sent.clear();
    emailer->SendRecoveryNotification(kSite, "OK");
    ASSERT_EQ(mail.sent.size(), 2u);
    EXPECT_EQ(mail.sent[0].message.subject, "http://www.example.com/ is now online");
    EXPECT_EQ(mail.sent[0].message.type, BodyType::Html);
    EXPECT_EQ(mail.sent[0].message.body,
              RecoveryHtmlBody("http://service.test/emailreport.gif", {"07/12/2026", "09:30:00"},
                               kSite, MakeUptimeFigures("3", "1")));
}

TEST_F(EmailerFixture, ASiteNeverDownSinceStartUpGetsNoRecoveryMessage) {
    settings.emailNotify.SetText("POP3 Emailer");
    emailer->SendRecoveryNotification(kSite, "OK");
    EXPECT_TRUE(mail.sent.empty());
    EXPECT_EQ(w.reportWindow.report.Text(), "");
}

// Once per outage, over check cycles that move the site between the two sets as the cycle does.
TEST_F(EmailerFixture, OneFailureAndOneRecoveryMessagePerOutage) {
    settings.emailNotify.SetText("POP3 Emailer");
    form.emailList1.SetList(1, "");
    form.emailList2.SetList(1, "");
    auto cycle = [&](bool up) {
        mail.sent.clear();
        if (up) {
            engine::SetRemove(form.emailChecks, kSite);
            if (!engine::SetContains(form.emailChecksOK, kSite))
                emailer->SendRecoveryNotification(kSite, "OK");
        } else {
            engine::SetRemove(form.emailChecksOK, kSite);
            emailer->SendFailureNotification(kSite, "404 not found");
        }
        std::string subjects;
        for (const auto& sent : mail.sent)
            subjects += sent.message.subject + ";";
        return subjects;
    };
    struct Step {
        bool up;
        const char* subjects;
        bool notified;
        bool announced;
    };
    const Step steps[] = {
        {true, "", false, true}, // up since start-up: nothing
        {false, "Error : http://www.example.com/ has reported an error;", true, false},
        {false, "", true, false}, // the same outage
        {false, "", true, false},
        {true, "http://www.example.com/ is back online;", false, true},
        {true, "", false, true},
        {false, "Error : http://www.example.com/ has reported an error;", true, false},
        {true, "http://www.example.com/ is back online;", false, true},
    };
    int n = 0;
    for (const Step& step : steps) {
        EXPECT_EQ(cycle(step.up), step.subjects) << "cycle " << n;
        EXPECT_EQ(engine::SetContains(form.emailChecks, kSite), step.notified) << "cycle " << n;
        EXPECT_EQ(engine::SetContains(form.emailChecksOK, kSite), step.announced) << "cycle " << n;
        ++n;
    }
}
