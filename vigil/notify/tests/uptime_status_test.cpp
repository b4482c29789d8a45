#include "vigil/notify/uptime_status.h"

#include "vigil/notify/frequency_data.h"

#include <gtest/gtest.h>

namespace vigil::notify {
namespace {

struct UptimeFixture : ::testing::Test {
    forms::Windows w;
    UptimeStatus status{w.uptimeWindow, w.form1};

    void AddCounts(const char* site, const char* up, const char* down) {
        w.form1.urlList.AddItem(site);
        w.form1.uptimeList.AddItem(up);
        w.form1.downTimeList.AddItem(down);
    }
    void Choose(const char* site) {
        const auto& items = w.uptimeWindow.urlDropList.Items();
        auto it = std::find(items.begin(), items.end(), site);
        ASSERT_NE(it, items.end());
        w.uptimeWindow.urlDropList.SetListIndex(static_cast<int>(it - items.begin()));
    }
    double BarWidth() const { return w.uptimeWindow.uptimeBar.Place().width; }
    std::string BarText() const { return w.uptimeWindow.barText.Caption(); }
};

TEST_F(UptimeFixture, WidthsAndTextsOfTheBar) {
    struct Case {
        const char* up;
        const char* down;
        double width;
        const char* text;
    } cases[] = {
        {"3", "1", 3701.25, "Uptime : 75% (3) - Downtime : 25% (1)"},
        {"1", "0", 4935, "Uptime : 100% (1) - Downtime : 0% (0)"},
        {"0", "5", 0, "Uptime : 0% (0) - Downtime : 100% (5)"},
        {"1", "2", 1645, "Uptime : 33% (1) - Downtime : 67% (2)"},
        {"1", "7", 616.875, "Uptime : 12% (1) - Downtime : 88% (7)"},
        {"100000", "100000", 2467.5, "Uptime : 50% (100000) - Downtime : 50% (100000)"},
    };
    for (const Case& c : cases) {
        forms::Windows windows;
        UptimeStatus s(windows.uptimeWindow, windows.form1);
        windows.form1.domainList.AddItem("http://a.example/");
        windows.form1.urlList.AddItem("http://a.example/");
        windows.form1.uptimeList.AddItem(c.up);
        windows.form1.downTimeList.AddItem(c.down);
        s.updatelist();
        windows.uptimeWindow.urlDropList.SetListIndex(0);
        EXPECT_DOUBLE_EQ(windows.uptimeWindow.uptimeBar.Place().width, c.width) << c.up;
        EXPECT_EQ(windows.uptimeWindow.barText.Caption(), c.text) << c.up;
    }
}

TEST_F(UptimeFixture, NoChecksShowsNoDataAndKeepsTheBar) {
    w.form1.domainList.AddItem("http://a.example/");
    w.form1.domainList.AddItem("http://b.example/");
    AddCounts("http://a.example/", "3", "1");
    AddCounts("http://b.example/", "0", "0");
    status.updatelist();
    Choose("http://a.example/");
    Choose("http://b.example/");
    EXPECT_EQ(BarText(), kNoStatusData);
    EXPECT_DOUBLE_EQ(BarWidth(), 3701.25);
}

TEST_F(UptimeFixture, TheTimerRefreshesFromTheLastEntryOfThatAddress) {
    w.form1.domainList.AddItem("http://a.example/");
    AddCounts("http://a.example/", "9", "9");
    AddCounts("http://a.example/", "1", "0");
    status.updatelist();
    Choose("http://a.example/");
    EXPECT_EQ(BarText(), "Uptime : 100% (1) - Downtime : 0% (0)");
    w.form1.downTimeList.SetList(1, "3");
    w.uptimeWindow.Timer1.Tick();
    EXPECT_EQ(BarText(), "Uptime : 25% (1) - Downtime : 75% (3)");
    EXPECT_DOUBLE_EQ(BarWidth(), 1233.75);
}

TEST_F(UptimeFixture, ASiteWithoutFrequencyEntryChangesNothing) {
    w.form1.domainList.AddItem("http://new.example/");
    w.uptimeWindow.barText.SetCaption("before");
    status.updatelist();
    Choose("http://new.example/");
    w.uptimeWindow.Timer1.Tick();
    EXPECT_EQ(BarText(), "before");
    EXPECT_DOUBLE_EQ(BarWidth(), forms::kUptimeBarTwips);
}

TEST_F(UptimeFixture, UpdateListMirrorsTheSiteListAgain) {
    for (const char* site : {"http://a.example/", "http://b.example/"})
        w.form1.domainList.AddItem(site);
    status.updatelist();
    w.form1.domainList.RemoveItem(0);
    w.form1.domainList.AddItem("http://c.example/");
    status.updatelist();
    EXPECT_EQ(w.uptimeWindow.urlDropList.Items(),
              (std::vector<std::string>{"http://b.example/", "http://c.example/"}));
}

} // namespace
} // namespace vigil::notify
