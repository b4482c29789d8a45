#include "vigil/notify/page_loader.h"
#include "vigil/notify/page_title.h"

#include <gtest/gtest.h>

using namespace vigil::notify;

namespace {

struct Case {
    std::string html;
    std::string title;
};

class PageTitleTable : public ::testing::TestWithParam<Case> {};

TEST_P(PageTitleTable, FindsTheTitleAsABrowserShowsIt) {
    EXPECT_EQ(ExtractTitle(GetParam().html), GetParam().title);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PageTitleTable,
    ::testing::Values(
        Case{"<html><head><title>Vigil Emailer</title></head></html>", "Vigil Emailer"},
        Case{"<HTML><HEAD><TITLE>Vigil Emailer</TITLE></HEAD>", "Vigil Emailer"},
        Case{"<Title lang=\"en\" id=t>Vigil Emailer</tItLe>", "Vigil Emailer"},
        Case{"<title>\r\n   Vigil \t\n Emailer  </title>", "Vigil Emailer"},
        Case{"<title>Tom &amp; Jerry &lt;3&gt; &quot;x&quot; &apos;y&#39; &#x41;&#66;</title>",
             "Tom & Jerry <3> \"x\" 'y' AB"},
        Case{"<title>a&nbsp;b &AMP; &unknown; &#9999; & c</title>", "a b & &unknown; &#9999; & c"},
        Case{"<html><body>no title here</body></html>", ""}, Case{"", ""},
        Case{"<titles>not it</titles><title>it</title>", "it"},
        Case{"<title>runs to the end", "runs to the end"}, Case{"<title", ""},
        Case{"<title></title>", ""}, Case{"<title>first</title><title>second</title>", "first"},
        Case{"<title>a</title >", "a"}));

// A transfer that hands back a scripted result and notes what it was asked for.
class ScriptedPageTransfer : public vigil::engine::PageTransfer {
public:
    vigil::engine::TransferResult Open(const vigil::engine::TransferRequest& request) override {
        requests.push_back(request);
        return next;
    }
    bool StillExecuting() const override { return false; }
    void Cancel() override {}

    vigil::engine::TransferResult next;
    std::vector<vigil::engine::TransferRequest> requests;
};

TEST(TransferPageLoader, CompletesWithTheTitleOfThePage) {
    ScriptedPageTransfer transfer;
    transfer.next = vigil::engine::TransferResult::Body("<title>Vigil Emailer</title>");
    TransferPageLoader loader(transfer, 30);
    std::string webGo1;
    PageLoadResult seen;
    loader.Navigate("http://vendor.example/verify.asp?site=a&email=b",
                    [&](const PageLoadResult& result) {
                        seen = result;
                        webGo1 = "Done";
                    });
    EXPECT_EQ(webGo1, "Done");
    EXPECT_TRUE(seen.ok);
    EXPECT_EQ(seen.title, "Vigil Emailer");
    EXPECT_EQ(loader.LocationName(), "Vigil Emailer");
    ASSERT_EQ(transfer.requests.size(), 1u);
    EXPECT_EQ(transfer.requests[0].address, "http://vendor.example/verify.asp?site=a&email=b");
    EXPECT_EQ(transfer.requests[0].timeoutSeconds, 30);
    EXPECT_EQ(transfer.requests[0].accessType, vigil::engine::AccessType::Default);
}

TEST(TransferPageLoader, AFailedOrTimedOutLoadCompletesWithoutATitle) {
    ScriptedPageTransfer transfer;
    TransferPageLoader loader(transfer);
    transfer.next = vigil::engine::TransferResult::Body("<title>Vigil Emailer</title>");
    loader.Navigate("http://a", {});
    transfer.next = vigil::engine::TransferResult::Failure("the request timed out");
    int completions = 0;
    PageLoadResult seen;
    loader.Navigate("http://a", [&](const PageLoadResult& result) {
        seen = result;
        ++completions;
    });
    EXPECT_EQ(completions, 1);
    EXPECT_FALSE(seen.ok);
    EXPECT_EQ(seen.title, "");
    EXPECT_EQ(loader.LocationName(), "");
}

} // namespace
