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
