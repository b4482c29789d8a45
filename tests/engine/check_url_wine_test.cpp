// CheckUrl through the real WinINet transfer, against the local peers that
// check_url_driver.py started (their ports arrive in the environment).
#include "vigil/engine/check_url.h"
#include "vigil/engine/win32/win32_clock_locale.h"
#include "vigil/engine/win32/win32_message_pump.h"
#include "vigil/engine/win32/wininet_transfer.h"
#include "vigil/forms/form1.h"

#include "tests/support/timer_probe.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

using namespace vigil;
using namespace vigil::engine;

namespace {

std::string Port(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string Local(const char* portVariable, const std::string& path) {
    return "http://127.0.0.1:" + Port(portVariable) + path;
}

using testenv::TimerProbe;

class CheckUrlWine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(Port("VIGIL_ORIGIN_PORT").empty()) << "run through check_url_driver.py";
        form1.Inet1.Attach(&inet1);
        form1.Inet2.Attach(&inet2);
    }

    forms::Form1 form1;
    win32::Win32MessagePump pump;
    win32::Win32ClockLocale locale;
    win32::WinInetTransfer inet1{pump};
    win32::WinInetTransfer inet2{pump};
    ResponseChecker checker{form1, pump, locale};
};

} // namespace

TEST_F(CheckUrlWine, HealthyPageIsOkAndItsLowerCasedBodyIsKept) {
    EXPECT_EQ(checker.CheckUrl(Local("VIGIL_ORIGIN_PORT", "/ok"), kSiteCheck), "OK");
    EXPECT_EQ(form1.netData.Text(), "<html><body>welcome to the example site</body></html>");
}

TEST_F(CheckUrlWine, ErrorPagesOfTheTableGiveTheirVerdicts) {
    EXPECT_EQ(checker.CheckUrl(Local("VIGIL_ORIGIN_PORT", "/missing"), kSiteCheck),
              "404 not found");
    EXPECT_EQ(checker.CheckUrl(Local("VIGIL_ORIGIN_PORT", "/asp"), kConnectionCheck),
              "ASP Application Error");
    EXPECT_EQ(form1.netData2.Text(), "<p>unexpected error</p><p>active server pages</p>");
}

TEST_F(CheckUrlWine, RedirectionIsFollowedToThePageItNames) {
    EXPECT_EQ(checker.CheckUrl(Local("VIGIL_ORIGIN_PORT", "/moved"), kSiteCheck), "OK");
    EXPECT_EQ(form1.netData.Text(), "<html><body>welcome to the example site</body></html>");
}

TEST_F(CheckUrlWine, HeadersWithoutABodyAreAnEmptyBodyNotAFailure) {
    TransferResult raw = inet1.Open({Local("VIGIL_ORIGIN_PORT", "/empty")});
    EXPECT_TRUE(raw.ok) << raw.error;
    EXPECT_EQ(raw.body, "");
    EXPECT_EQ(checker.CheckUrl(Local("VIGIL_ORIGIN_PORT", "/empty"), kSiteCheck),
              "request failed (timeout)");
}

TEST_F(CheckUrlWine, ServerThatClosesWithoutAnswering) {
    EXPECT_EQ(checker.CheckUrl(Local("VIGIL_CLOSER_PORT", "/"), kSiteCheck),
              "request failed (timeout)");
}

TEST_F(CheckUrlWine, RefusedPortIsAFailedFetch) {
    TransferResult raw = inet1.Open({Local("VIGIL_REFUSED_PORT", "/")});
    EXPECT_FALSE(raw.ok);
    EXPECT_EQ(checker.CheckUrl(Local("VIGIL_REFUSED_PORT", "/"), kSiteCheck), "request timed out");
}

TEST_F(CheckUrlWine, SilentServerTimesOutWhileTheMessageLoopRuns) {
    form1.Inet1.SetRequestTimeout(2);
    bool executingSeen = false;
    TimerProbe probe(100, [&] { executingSeen = executingSeen || form1.Inet1.StillExecuting(); });
    const ULONGLONG start = GetTickCount64();

    EXPECT_EQ(checker.CheckUrl(Local("VIGIL_SILENT_PORT", "/"), kSiteCheck), "request timed out");

    const ULONGLONG took = GetTickCount64() - start;
    EXPECT_GE(took, 1500u);
    EXPECT_LT(took, 30000u); // bounded by the lowered limit, not the default minute
    EXPECT_GT(probe.ticks, 0);
    EXPECT_TRUE(executingSeen);
    EXPECT_FALSE(form1.Inet1.StillExecuting());
}

TEST_F(CheckUrlWine, CancelFromAMessageHandlerEndsTheTransfer) {
    // The full minute applies; only the cancel ends the wait early.
    bool cancelled = false;
    TimerProbe probe(100, [&] {
        if (!cancelled && form1.Inet1.StillExecuting()) {
            cancelled = true;
            form1.Inet1.Cancel();
        }
    });
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(checker.CheckUrl(Local("VIGIL_SILENT_PORT", "/"), kSiteCheck), "request timed out");
    EXPECT_LT(GetTickCount64() - start, 30000u);
    EXPECT_TRUE(cancelled);
    EXPECT_FALSE(form1.Inet1.StillExecuting());

    // The instance is free again afterwards.
    EXPECT_EQ(checker.CheckUrl(Local("VIGIL_ORIGIN_PORT", "/ok"), kSiteCheck), "OK");
}

TEST_F(CheckUrlWine, CancelFreesTheControlForTheNextRequestAtOnce) {
    // "Check Now" during a fetch: the click handler cancels the request in progress and starts
    // a new check on the same control before the cancelled wait has unwound.
    bool stillExecutingAfterCancel = true;
    std::string nested;
    TimerProbe probe(100, [&] {
        if (nested.empty() && form1.Inet1.StillExecuting()) {
            nested = "started";
            form1.Inet1.Cancel();
            stillExecutingAfterCancel = form1.Inet1.StillExecuting();
            nested = checker.CheckUrl(Local("VIGIL_ORIGIN_PORT", "/missing"), kSiteCheck);
        }
    });
    EXPECT_EQ(checker.CheckUrl(Local("VIGIL_SILENT_PORT", "/"), kSiteCheck), "request timed out");
    EXPECT_FALSE(stillExecutingAfterCancel);
    EXPECT_EQ(nested, "404 not found");
    EXPECT_FALSE(form1.Inet1.StillExecuting());
}

TEST_F(CheckUrlWine, QuitDuringAFetchIsKeptForTheMainLoop) {
    form1.Inet1.SetRequestTimeout(2);
    bool posted = false;
    TimerProbe probe(100, [&] {
        if (!posted) {
            posted = true;
            PostQuitMessage(7);
        }
    });
    EXPECT_EQ(checker.CheckUrl(Local("VIGIL_SILENT_PORT", "/"), kSiteCheck), "request timed out");
    EXPECT_TRUE(posted);
    EXPECT_TRUE(pump.QuitRequested());
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(CheckUrlWine, NamedProxyCarriesTheRequestsOfItsOwnControl) {
    const std::string proxy = "127.0.0.1:" + Port("VIGIL_PROXY_PORT");
    form1.Inet1.SetProxy(proxy);
    form1.Inet1.SetAccessType(AccessType::NamedProxy);

    // Only the proxy knows this host, so an answer proves the proxy was used.
    EXPECT_EQ(checker.CheckUrl("http://vigil-origin.invalid/ok", kSiteCheck), "OK");
    EXPECT_EQ(form1.netData.Text(), "<html><body>welcome to the example site</body></html>");
    EXPECT_EQ(checker.CheckUrl("http://vigil-origin.invalid/missing", kSiteCheck), "404 not found");

    // The connection-test control keeps the system default and cannot reach that host.
    form1.Inet2.SetRequestTimeout(5);
    EXPECT_EQ(checker.CheckUrl("http://vigil-origin.invalid/direct", kConnectionCheck),
              "request timed out");
}

TEST_F(CheckUrlWine, HttpsSiteWithAnUntrustedCertificateIsAFailedFetch) {
    // The TLS peer's certificate comes from a test root this machine does not trust. The
    // fetch gets as far as checking the certificate's issuer (ERROR_INTERNET_INVALID_CA); an
    // unknown revocation status, which Wine reports first, is not what stops it.
    const std::string address = "https://127.0.0.1:" + Port("VIGIL_TLS_PORT") + "/ok";
    form1.Inet1.SetRequestTimeout(10);
    TransferResult raw = inet1.Open({address, AccessType::Default, "", 10});
    EXPECT_FALSE(raw.ok);
    EXPECT_NE(raw.error.find("error 12045"), std::string::npos) << raw.error;
    EXPECT_EQ(checker.CheckUrl(address, kSiteCheck), "request timed out");
}

TEST_F(CheckUrlWine, HttpsAddressGoesOutAsATunnelThroughTheProxy) {
    form1.Inet1.SetProxy("127.0.0.1:" + Port("VIGIL_PROXY_PORT"));
    form1.Inet1.SetAccessType(AccessType::NamedProxy);
    form1.Inet1.SetRequestTimeout(5);
    // The test proxy refuses tunnels with a page of its own, which is classified like any
    // other body; the driver checks that the proxy was asked for a tunnel to port 443.
    EXPECT_EQ(checker.CheckUrl("https://vigil-origin.invalid/", kSiteCheck), "connection refused");
}

namespace {

std::string Nginx(const std::string& path) {
    return Local("VIGIL_NGINX_PORT", path);
}

} // namespace

TEST_F(CheckUrlWine, NginxErrorPagesPassByTheirBodyWhileTheOptionIsOff) {
    ASSERT_FALSE(Port("VIGIL_NGINX_PORT").empty());
    EXPECT_EQ(checker.CheckUrl(Nginx("/missing"), kSiteCheck), "OK");
    EXPECT_NE(form1.netData.Text().find("<title>404 not found</title>"), std::string::npos)
        << form1.netData.Text();
    EXPECT_EQ(checker.CheckUrl(Nginx("/unavailable"), kSiteCheck), "OK");
}

TEST_F(CheckUrlWine, NginxErrorStatusIsTheVerdictWithTheOptionOn) {
    form1.chkHttpStatus.SetValue(1);
    EXPECT_EQ(checker.CheckUrl(Nginx("/missing"), kSiteCheck), "404 not found");
    EXPECT_EQ(checker.CheckUrl(Nginx("/unavailable"), kSiteCheck),
              "503 service temporarily unavailable");
    EXPECT_EQ(checker.CheckUrl(Nginx("/ok.html"), kSiteCheck), "OK");
    // The connection test is not affected.
    EXPECT_EQ(checker.CheckUrl(Nginx("/unavailable"), kConnectionCheck), "OK");
    // A body the table flags keeps the table's verdict (the origin answers 500 here).
    EXPECT_EQ(checker.CheckUrl(Local("VIGIL_ORIGIN_PORT", "/asp"), kSiteCheck),
              "ASP Application Error");
}

TEST_F(CheckUrlWine, TransferHandsOverTheStatusLine) {
    TransferResult missing = inet1.Open({Nginx("/missing")});
    ASSERT_TRUE(missing.ok) << missing.error;
    EXPECT_EQ(missing.status, 404);
    EXPECT_EQ(missing.statusText, "Not Found");
    // After a redirection the status is the final page's.
    TransferResult moved = inet1.Open({Local("VIGIL_ORIGIN_PORT", "/moved")});
    ASSERT_TRUE(moved.ok) << moved.error;
    EXPECT_EQ(moved.status, 200);
    // A status line without a reason phrase: the code alone.
    TransferResult bare = inet1.Open({Local("VIGIL_ORIGIN_PORT", "/bare")});
    ASSERT_TRUE(bare.ok) << bare.error;
    EXPECT_EQ(bare.status, 500);
    EXPECT_EQ(bare.statusText, "");
    form1.chkHttpStatus.SetValue(1);
    EXPECT_EQ(checker.CheckUrl(Local("VIGIL_ORIGIN_PORT", "/bare"), kSiteCheck), "500");
}
