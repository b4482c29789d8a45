#include "vigil/engine/check_url.h"
#include "vigil/engine/tests/fakes.h"

#include <gtest/gtest.h>

using namespace vigil;
using namespace vigil::engine;

namespace {

struct CheckUrlFixture : ::testing::Test {
    forms::Form1 form1;
    fakes::CountingPump pump;
    fakes::Clock locale;
    fakes::ScriptedTransfer inet1;
    fakes::ScriptedTransfer inet2;
    ResponseChecker checker{form1, pump, locale};

    CheckUrlFixture() {
        form1.Inet1.Attach(&inet1);
        form1.Inet2.Attach(&inet2);
    }
};

} // namespace

TEST_F(CheckUrlFixture, SiteCheckLowerCasesTheBodyIntoNetDataAndClassifiesIt) {
    inet1.results.push_back(TransferResult::Body("404 Not Found"));
    bool pumpedBeforeFetch = false;
    inet1.beforeAnswer = [&] { pumpedBeforeFetch = pump.calls == 1; };

    EXPECT_EQ(checker.CheckUrl("http://www.example.com/missing", kSiteCheck), "404 not found");

    ASSERT_EQ(inet1.requests.size(), 1u);
    EXPECT_EQ(inet1.requests[0].address, "http://www.example.com/missing");
    EXPECT_TRUE(pumpedBeforeFetch);
    EXPECT_EQ(form1.netData.Text(), "404 not found");
    EXPECT_TRUE(inet2.requests.empty());
    EXPECT_EQ(form1.netData2.Text(), "");
}

TEST_F(CheckUrlFixture, ConnectionTestUsesTheSecondControlWithItsOwnProxy) {
    form1.Inet1.SetAccessType(AccessType::Default);
    form1.Inet2.SetProxy("127.0.0.1:8080");
    form1.Inet2.SetAccessType(AccessType::NamedProxy);
    form1.netData.SetText("previous site page");
    inet2.results.push_back(
        TransferResult::Body("<EM>Microsoft Proxy 1.0 Server</EM><STRONG>Proxy Server : gw"));

    EXPECT_EQ(checker.CheckUrl("http://test.example/", kConnectionCheck),
              "MS Proxy Returned page error");

    ASSERT_EQ(inet2.requests.size(), 1u);
    EXPECT_EQ(inet2.requests[0].proxy, "127.0.0.1:8080");
    EXPECT_EQ(inet2.requests[0].accessType, AccessType::NamedProxy);
    EXPECT_EQ(inet2.requests[0].timeoutSeconds, 60);
    EXPECT_TRUE(inet1.requests.empty());
    EXPECT_EQ(form1.netData.Text(), "previous site page");
    EXPECT_EQ(form1.netData2.Text(),
              "<em>microsoft proxy 1.0 server</em><strong>proxy server : gw");
}

TEST_F(CheckUrlFixture, FailedFetchIsRequestTimedOutAndRunsNoTest) {
    form1.netData.SetText("404 not found");
    inet1.results.push_back(TransferResult::Failure("connection refused"));

    // The failure's own text would match a row; it is not looked at.
    EXPECT_EQ(checker.CheckUrl("http://127.0.0.1:1/", kSiteCheck), "request timed out");
    EXPECT_EQ(form1.netData.Text(), "");
}

TEST_F(CheckUrlFixture, EmptyBodyIsNotAFailedFetch) {
    inet1.results.push_back(TransferResult::Body(""));
    EXPECT_EQ(checker.CheckUrl("http://www.example.com/", kSiteCheck), "request failed (timeout)");
}

TEST_F(CheckUrlFixture, HealthyPageIsOk) {
    inet1.results.push_back(TransferResult::Body("<HTML><BODY>Hello</BODY></HTML>"));
    EXPECT_EQ(checker.CheckUrl("http://www.example.com/", kSiteCheck), "OK");
}

TEST_F(CheckUrlFixture, ControlWithoutTransferGivesTheFailureVerdict) {
    forms::Form1 bare;
    ResponseChecker unwired{bare, pump, locale};
    EXPECT_EQ(unwired.CheckUrl("http://www.example.com/", kSiteCheck), "request timed out");
}

TEST_F(CheckUrlFixture, InetControlPassesItsSettingsAndRaisesOnFailure) {
    form1.Inet1.SetRequestTimeout(2);
    form1.Inet1.SetProxy("proxy.lan:3128");
    form1.Inet1.SetAccessType(AccessType::NamedProxy);
    inet1.results.push_back(TransferResult::Failure("time-out"));
    EXPECT_THROW(form1.Inet1.OpenURL("http://a/"), forms::InetError);
    ASSERT_EQ(inet1.requests.size(), 1u);
    EXPECT_EQ(inet1.requests[0].timeoutSeconds, 2);
    EXPECT_EQ(inet1.requests[0].proxy, "proxy.lan:3128");
    EXPECT_EQ(form1.Inet1.Protocol(), "HTTP");
    EXPECT_EQ(form1.Inet1.RemotePort(), 80);

    // Still executing is the transfer's, seen from a handler that runs during the fetch.
    bool seenExecuting = false;
    inet1.beforeAnswer = [&] {
        seenExecuting = form1.Inet1.StillExecuting();
        form1.Inet1.Cancel();
    };
    inet1.results.push_back(TransferResult::Body("x"));
    EXPECT_EQ(form1.Inet1.OpenURL("http://a/"), "x");
    EXPECT_TRUE(seenExecuting);
    EXPECT_EQ(inet1.cancels, 1);
    EXPECT_FALSE(form1.Inet1.StillExecuting());
}

namespace {

// "Treat HTTP error status as failure": the answer the transfer gives, the option and the mode,
// and the verdict.
struct StatusCase {
    const char* what;
    int option;
    int mode;
    int status;
    const char* reason;
    const char* body;
    const char* verdict;
};

// nginx's own error page: nothing in it matches a row of the table.
constexpr const char* kNginx404 =
    "<html>\r\n<head><title>404 Not Found</title></head>\r\n<body>\r\n"
    "<center><h1>404 Not Found</h1></center>\r\n<hr><center>nginx/"
    "1.22.1</center>\r\n</body>\r\n</html>\r\n";

const StatusCase kStatusCases[] = {
    {"off: the body alone decides", 0, kSiteCheck, 404, "Not Found", kNginx404, "OK"},
    {"on: a 404 answer with a passing body", 1, kSiteCheck, 404, "Not Found", kNginx404,
     "404 not found"},
    {"on: a body the table flags keeps its verdict", 1, kSiteCheck, 503, "Service Unavailable",
     "<p>Unexpected error</p><p>Active Server Pages</p>", "ASP Application Error"},
    {"on: 200 is healthy", 1, kSiteCheck, 200, "OK", "<html>welcome</html>", "OK"},
    {"on: 399 is below the first error status", 1, kSiteCheck, 399, "Odd", "<html></html>", "OK"},
    {"on: 400 is the first error status", 1, kSiteCheck, 400, "Bad Request", "<html></html>",
     "400 bad request"},
    {"on: 503", 1, kSiteCheck, 503, "Service Unavailable", "<html>down</html>",
     "503 service unavailable"},
    {"on: any mode but 2 is a site check", 1, 0, 500, "Internal Server Error", "<html></html>",
     "500 internal server error"},
    {"on: the connection test reads the body only", 1, kConnectionCheck, 404, "Not Found",
     kNginx404, "OK"},
    {"on: no reason phrase gives the code alone", 1, kSiteCheck, 500, "", "<html></html>", "500"},
    {"on: a blank reason phrase is none", 1, kSiteCheck, 502, "  ", "<html></html>", "502"},
    {"on: blanks around the phrase and control characters go", 1, kSiteCheck, 418,
     " I'm a\x01 Teapot\x7f ", "<html></html>", "418 i'm a teapot"},
    {"on: a scheme without a status (0) is judged by its body", 1, kSiteCheck, 0, "", "plain file",
     "OK"},
};

} // namespace

TEST_F(CheckUrlFixture, HttpErrorStatusOption) {
    for (const StatusCase& c : kStatusCases) {
        form1.chkHttpStatus.SetValue(c.option);
        fakes::ScriptedTransfer& transfer = c.mode == kConnectionCheck ? inet2 : inet1;
        transfer.results.push_back(TransferResult::Answer(c.body, c.status, c.reason));
        EXPECT_EQ(checker.CheckUrl("http://www.example.com/", c.mode), c.verdict) << c.what;
    }
}

TEST_F(CheckUrlFixture, LongReasonPhraseIsCutInTheVerdict) {
    form1.chkHttpStatus.SetValue(1);
    inet1.results.push_back(TransferResult::Answer("<html></html>", 599, std::string(500, 'X')));
    EXPECT_EQ(checker.CheckUrl("http://www.example.com/", kSiteCheck),
              "599 " + std::string(kMaxReasonInVerdict, 'x'));
}

TEST_F(CheckUrlFixture, InetFetchHandsOverTheStatusAndOpenUrlTheBodyAlone) {
    inet1.results.push_back(TransferResult::Answer("gone", 410, "Gone"));
    forms::InetResponse response = form1.Inet1.Fetch("http://a/");
    EXPECT_EQ(response.body, "gone");
    EXPECT_EQ(response.status, 410);
    EXPECT_EQ(response.statusText, "Gone");
    inet1.results.push_back(TransferResult::Answer("gone", 410, "Gone"));
    EXPECT_EQ(form1.Inet1.OpenURL("http://a/"), "gone");
}
