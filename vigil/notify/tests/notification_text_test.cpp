#include "vigil/notify/mail_message.h"
#include "vigil/notify/notification_text.h"

#include <gtest/gtest.h>

#include <optional>

using namespace vigil::notify;

namespace {

const MailMoment kMoment{"07/12/2026", "09:30:00"};
const char* kSite = "http://www.example.com/";
const char* kLogo = "http://logo.test/emailreport.gif";

const std::string kFooter =
    "The text contained within this email is confidential. If you are not the named recepient "
    "it could be unlawful for you to read, copy,distribute, disclose or use the information "
    "contained herewith.";

const std::string kHtmlHead =
    "<body text=#000000 leftmargin=10><table width=100% border=0 cellpadding=10><tr><td "
    "width=16%><img src='http://logo.test/emailreport.gif'></td><td width=84%><div "
    "align=right><b><font size=5>";
const std::string kHtmlDate = "<br><font size=2>07/12/2026 - 09:30:00</b></div></td></tr></table>";
const std::string kHtmlSite =
    "<br><table width=100% border=0 cellpadding=10 bgcolor=#99A637><tr><td><font face=arial "
    "size=3 color=#ffffff><b>Web Site : http://www.example.com/</b><br><hr><font size=2>";
const std::string kHtmlUptime31 =
    "<br><font size=3><b>Activity History </b><br><hr><font size=2><br><table width=100% "
    "border=0 bordercolor=#000000><tr><td><table width=100% border=0><tr><td bgcolor=#BBC47A "
    "width='75%'>&nbsp; </td><td bgcolor=#FFA800 width='25%'>&nbsp;</td></tr></table></td>"
    "</table><br><p><table align=left width=16 height=16><tr><td bgcolor=#BBC47A></td></tr>"
    "</table><font face='Arial, Helvetica, sans - serif'>Uptime : 75% (3)<br><table align=left "
    "width=16 height=16><tr><td bgcolor=#FFA800></td></tr></table>DownTime: 25% (1)</p></font>";
const std::string kHtmlFoot = "</tr></td></table><br><br><font face=arial size=2>" + kFooter;

struct BodyCase {
    const char* name;
    bool recovery;
    bool html;
    bool uptime;
    std::string expected;
};

std::string Body(const BodyCase& c) {
    std::optional<UptimeFigures> uptime;
    if (c.uptime)
        uptime = MakeUptimeFigures("3", "1");
    if (c.html) {
        return c.recovery ? RecoveryHtmlBody(kLogo, kMoment, kSite, uptime)
                          : FailureHtmlBody(kLogo, kMoment, kSite, "404 not found", uptime);
    }
    return c.recovery ? RecoveryPlainBody(kMoment, kSite, uptime)
                      : FailurePlainBody(kMoment, kSite, "404 not found", uptime);
}

} // namespace

TEST(NotificationText, BodiesOfBothNotificationsWithAndWithoutTheUptimeReport) {
    const std::string failurePlain = "Vigil web site monitoring report - 07/12/2026 09:30:00\r\n"
                                     "An error has been reported on http://www.example.com/\r\n\r\n"
                                     "The error returned was: \r\n"
                                     "404 not found\r\n\r\n";
    const std::string recoveryPlain =
        "Vigil web site monitoring report - 07/12/2026 09:30:00\r\n"
        "This web-site has been successfully verified and is back online : "
        "http://www.example.com/\r\n\r\n";
    const std::string uptimeLine = "Uptime : 75% (3) - DownTime: 25% (1)";
    const std::string plainFoot = "\r\n\r\n\r\n" + kFooter;
    const std::string failureHtml = kHtmlHead + "Web-Site Failure Notification" + kHtmlDate +
                                    kHtmlSite + "Error: 404 not found<br><br>";
    const std::string recoveryHtml =
        kHtmlHead + "Web-Site Activation Notification" + kHtmlDate + kHtmlSite +
        "This web-site has been successfully verified and is back online<br><br>";

    const BodyCase cases[] = {
        {"failure plain, uptime off", false, false, false, failurePlain + plainFoot},
        {"failure plain, uptime on", false, false, true, failurePlain + uptimeLine + plainFoot},
        {"failure html, uptime off", false, true, false, failureHtml + kHtmlFoot},
        {"failure html, uptime on", false, true, true, failureHtml + kHtmlUptime31 + kHtmlFoot},
        {"recovery plain, uptime off", true, false, false, recoveryPlain + plainFoot},
        {"recovery plain, uptime on", true, false, true, recoveryPlain + uptimeLine + plainFoot},
        {"recovery html, uptime off", true, true, false, recoveryHtml + kHtmlFoot},
        {"recovery html, uptime on", true, true, true, recoveryHtml + kHtmlUptime31 + kHtmlFoot},
    };
    for (const BodyCase& c : cases)
        EXPECT_EQ(Body(c), c.expected) << c.name;
}

TEST(NotificationText, PercentagesOfTheUptimeLine) {
    struct Case {
        const char* up;
        const char* down;
        std::string line;
    };
    const Case cases[] = {
        {"3", "1", "Uptime : 75% (3) - DownTime: 25% (1)"},
        {"0", "0", "Uptime : 0% (0) - DownTime: 0% (0)"},
        {"1", "7", "Uptime : 12% (1) - DownTime: 88% (7)"}, // 12.5 and 87.5: halves to even
        {"1", "2", "Uptime : 33% (1) - DownTime: 67% (2)"},
        {"10", "0", "Uptime : 100% (10) - DownTime: 0% (0)"},
        {"", "", "Uptime : 0% (0) - DownTime: 0% (0)"}, // entries not yet written
        // Beyond the 16-bit range the shares come from the whole counts.
        {"40000", "0", "Uptime : 100% (40000) - DownTime: 0% (0)"},
        {"100000", "10000", "Uptime : 91% (100000) - DownTime: 9% (10000)"},
    };
    for (const Case& c : cases) {
        const std::string body =
            FailurePlainBody(kMoment, kSite, "x", MakeUptimeFigures(c.up, c.down));
        EXPECT_NE(body.find("\r\n\r\n" + c.line + "\r\n\r\n\r\n"), std::string::npos)
            << c.up << " and " << c.down << ":\n"
            << body;
    }
}

TEST(NotificationText, MarkupInTheSiteAddressOrVerdictIsTextInTheHtmlBody) {
    const std::string site = "http://x/<script>alert('a')</script>&\"";
    for (const std::string& html :
         {FailureHtmlBody(kLogo, kMoment, site, "<b>bad</b>", std::nullopt),
          RecoveryHtmlBody(kLogo, kMoment, site, MakeUptimeFigures("1", "<i>"))}) {
        EXPECT_EQ(html.find("<script>"), std::string::npos) << html;
        EXPECT_EQ(html.find("<b>bad"), std::string::npos) << html;
        EXPECT_EQ(html.find("(<i>)"), std::string::npos) << html;
        EXPECT_NE(html.find("Web Site : http://x/&lt;script&gt;alert(&#39;a&#39;)&lt;/script&gt;"
                            "&amp;&quot;</b>"),
                  std::string::npos)
            << html;
    }
    // Plain text is never rendered: the address stays as it is.
    EXPECT_NE(FailurePlainBody(kMoment, site, "x", std::nullopt).find(site), std::string::npos);
}

TEST(NotificationText, ALineBreakInTheSiteAddressNeverReachesTheHeader) {
    const std::string site = "http://a/\r\nBcc: victim@example.com\n";
    EXPECT_EQ(FailureSubject(site),
              "Error : http://a/  Bcc: victim@example.com  has reported an error");
    EXPECT_EQ(RecoveryPlainSubject("a\rb"), "a b is back online");
    EXPECT_EQ(RecoveryHtmlSubject("a\nb"), "a b is now online");

    MailMessage message;
    message.from = "vigil@test";
    message.to = {"ops@test"};
    message.subject = FailureSubject(site);
    message.body = "body";
    message.date = "Thu, 10 Dec 2026 13:10:40 +0000";
    message.messageId = "<1@test>";
    const std::string text = ComposeMessage(message);
    const std::string head = text.substr(0, text.find("\r\n\r\n") + 2);
    EXPECT_EQ(head.find("\r\nBcc:"), std::string::npos) << head;
    for (std::size_t i = 0; i < head.size(); ++i) {
        if (head[i] == '\n') {
            EXPECT_EQ(head[i - 1], '\r') << "a bare line feed in the header:\n" << head;
        }
        if (head[i] == '\r') {
            EXPECT_EQ(head[i + 1], '\n') << "a bare carriage return in the header:\n" << head;
        }
    }
}
