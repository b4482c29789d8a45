#include "vigil/notify/frequency_data.h"

#include "vigil/engine/tests/fakes.h"
#include "vigil/forms/windows.h"

#include <gtest/gtest.h>

#include <tuple>

namespace vigil::notify {
namespace {

using engine::fakes::CountingPump;
using engine::fakes::Files;

void AddSites(forms::Form1& f, std::initializer_list<const char*> sites) {
    for (const char* site : sites)
        f.domainList.AddItem(site);
}

TEST(SharesOf, CountsBeyondSixteenBitsKeepTheirRealShares) {
    struct Case {
        const char* up;
        const char* down;
        int upPercent;
        int downPercent;
        bool hasData;
    } cases[] = {
        {"0", "0", 0, 0, false},
        {"", "", 0, 0, false},
        {"x", "-3", 0, 0, false},
        {"10", "0", 100, 0, true},
        {"1", "2", 33, 67, true},
        {"1", "7", 12, 88, true},
        {"3", "1", 75, 25, true},
        {"100000", "10000", 91, 9, true},
        {"40000", "40000", 50, 50, true},
        {"99999999999999999999", "99999999999999999999", 50, 50, true},
    };
    for (const Case& c : cases) {
        SiteShares s = SharesOf(c.up, c.down);
        EXPECT_EQ(s.upPercent, c.upPercent) << c.up << "/" << c.down;
        EXPECT_EQ(s.downPercent, c.downPercent) << c.up << "/" << c.down;
        EXPECT_EQ(s.HasData(), c.hasData) << c.up << "/" << c.down;
    }
}

TEST(FileLines, SplitsAtEveryKindOfLineEnd) {
    EXPECT_EQ(FileLines(""), std::vector<std::string>{});
    EXPECT_EQ(FileLines("a\r\nb\r\n"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(FileLines("a\nb"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(FileLines("a\r\r\nc"), (std::vector<std::string>{"a", "", "c"}));
    EXPECT_EQ(FileLines("\r\n"), std::vector<std::string>{""});
}

TEST(FrequencyFiles, AResetWritesOneLinePerSiteWithZeroCounts) {
    forms::Windows w;
    AddSites(w.form1, {"http://a.example/", "http://b.example/", "http://c.example/"});
    // Counts out of step with the sites, as old files can leave them.
    for (const char* stale : {"http://gone.example/", "http://a.example/"})
        w.form1.urlList.AddItem(stale);
    w.form1.uptimeList.AddItem("12");
    w.form1.downTimeList.AddItem("4");
    Files files;
    CountingPump pump;

    ResetStatusData(w.form1, files, pump);

    EXPECT_EQ(files.files.at("FreqA.log"),
              "http://a.example/\r\nhttp://b.example/\r\nhttp://c.example/\r\n");
    EXPECT_EQ(files.files.at("FreqB.log"), "0\r\n0\r\n0\r\n");
    EXPECT_EQ(files.files.at("FreqC.log"), "0\r\n0\r\n0\r\n");
    EXPECT_EQ(files.files.size(), 3u);
    EXPECT_EQ(w.form1.urlList.Items(), w.form1.domainList.Items());
    EXPECT_EQ(pump.calls, 3);
}

TEST(FrequencyFiles, AResetWithNoSitesLeavesEmptyFiles) {
    forms::Windows w;
    w.form1.urlList.AddItem("http://old.example/");
    Files files;
    CountingPump pump;
    ResetStatusData(w.form1, files, pump);
    for (const char* name : {"FreqA.log", "FreqB.log", "FreqC.log"})
        EXPECT_EQ(files.files.at(name), "") << name;
}

TEST(FrequencyFiles, TheCountsACycleSavesAreTheOnesTheNextStartLoads) {
    forms::Windows before;
    AddSites(before.form1, {"http://a.example/", "http://b.example/"});
    for (auto [site, up, down] :
         {std::tuple{"http://a.example/", "7", "1"}, std::tuple{"http://b.example/", "0", "3"}}) {
        before.form1.urlList.AddItem(site);
        before.form1.uptimeList.AddItem(up);
        before.form1.downTimeList.AddItem(down);
    }
    Files files;
    CountingPump pump;
    SaveFrequencyData(before.form1, files, pump);
    EXPECT_EQ(pump.calls, 2); // after A and after B

    forms::Windows after;
    LoadFrequencyData(after.form1, files, pump);
    EXPECT_EQ(after.form1.urlList.Items(), before.form1.urlList.Items());
    EXPECT_EQ(after.form1.uptimeList.Items(), before.form1.uptimeList.Items());
    EXPECT_EQ(after.form1.downTimeList.Items(), before.form1.downTimeList.Items());
}

TEST(FrequencyFiles, StartUpLoadsNothingWithoutFileA) {
    forms::Windows w;
    Files files;
    files.files["FreqB.log"] = "5\r\n";
    files.files["FreqC.log"] = "1\r\n";
    CountingPump pump;
    LoadFrequencyData(w.form1, files, pump);
    EXPECT_EQ(w.form1.urlList.ListCount(), 0);
    EXPECT_EQ(w.form1.uptimeList.ListCount(), 0);
    EXPECT_EQ(pump.calls, 1);
}

TEST(FrequencyFiles, AMissingCountFileLeavesThoseCountsEmpty) {
    forms::Windows w;
    Files files;
    files.files["FreqA.log"] = "http://a.example/\r\nhttp://b.example/";
    files.files["FreqC.log"] = "2\r\n";
    CountingPump pump;
    LoadFrequencyData(w.form1, files, pump);
    EXPECT_EQ(w.form1.urlList.ListCount(), 2);
    EXPECT_EQ(w.form1.uptimeList.ListCount(), 0);
    EXPECT_EQ(w.form1.downTimeList.Items(), std::vector<std::string>{"2"});
}

} // namespace
} // namespace vigil::notify
