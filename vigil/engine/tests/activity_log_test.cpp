#include "vigil/engine/activity_log.h"
#include "vigil/engine/check_results.h"
#include "vigil/engine/site_list.h"
#include "vigil/engine/tests/fakes.h"
#include "vigil/forms/windows.h"

#include <gtest/gtest.h>

using namespace vigil;
using namespace vigil::engine;

namespace {

struct ActivityLogFixture : ::testing::Test {
    forms::Windows w;
    fakes::Clock clock;
    fakes::Files files;
    fakes::RecordingDialogs dialogs;
    forms::RichText& report = w.reportWindow.report;
    std::unique_ptr<ActivityLog> log;

    ActivityLogFixture() {
        clock.now = {2026, 7, 11, 23, 58, 0};
        files.folders = {"C:\\Vigil\\reports", "reports"};
        log = std::make_unique<ActivityLog>(report, clock, files, dialogs);
    }
};

} // namespace

TEST_F(ActivityLogFixture, EachLineEndsWithCrLfAndTheCaretFollows) {
    std::string appended;
    report.Appended.Add([&](const std::string& more) { appended += "[" + more + "]"; });

    log->WriteLog("Web site checking started");
    log->WriteLog("");
    log->WriteLog("Processing - http://a/");

    EXPECT_EQ(report.Text(), "Web site checking started\r\n\r\nProcessing - http://a/\r\n");
    EXPECT_EQ(appended, "[Web site checking started\r\n][\r\n][Processing - http://a/\r\n]");
    EXPECT_EQ(report.SelStart(), report.Text().size());
    EXPECT_EQ(files.writes, 0);
}

TEST_F(ActivityLogFixture, FirstLineAfterMidnightRollsTheDayIntoTheNewDatesFile) {
    log->WriteLog("before midnight");
    clock.now = {2026, 7, 12, 0, 0, 5};
    log->WriteLog("after midnight");

    ASSERT_EQ(files.files.size(), 1u);
    EXPECT_EQ(files.files["C:\\Vigil\\reports\\report- 07-12-2026.log"],
              "before midnight\r\nafter midnight\r\n\r\n");
    EXPECT_EQ(report.Text(), "");
    EXPECT_TRUE(dialogs.shown.empty());

    // The same day goes on without another roll.
    clock.now = {2026, 7, 12, 0, 1, 0};
    log->WriteLog("later");
    EXPECT_EQ(report.Text(), "later\r\n");
    EXPECT_EQ(files.writes, 1);
}

TEST_F(ActivityLogFixture, MissingReportsFolderShowsTheMessageOnceADayAndKeepsTheLog) {
    files.folders.clear();
    log->WriteLog("one");
    clock.now = {2026, 7, 12, 0, 0, 1};
    log->WriteLog("two");
    log->WriteLog("three");

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text,
              "Error: Couldn't save Vigil report. Check Reports folder exists.");
    EXPECT_EQ(dialogs.shown[0].title, "Vigil");
    EXPECT_EQ(dialogs.shown[0].buttons, MsgBoxButtons::Ok);
    EXPECT_EQ(report.Text(), "one\r\ntwo\r\nthree\r\n");

    clock.now = {2026, 7, 13, 0, 0, 1};
    log->WriteLog("four");
    EXPECT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(report.Text(), "one\r\ntwo\r\nthree\r\nfour\r\n");
}

TEST_F(ActivityLogFixture, TheRollFollowsTheStartUpDate) {
    log->SetLastLogDate({2026, 7, 10});
    log->WriteLog("first line of the run");
    EXPECT_EQ(files.files.count("C:\\Vigil\\reports\\report- 07-11-2026.log"), 1u);
    EXPECT_EQ(log->LastLogDate(), (CalendarDate{2026, 7, 11}));
}

TEST(ReportNames, ShortDateBecomesTheTwoFileNames) {
    struct {
        const char* date;
        const char* daily;
        const char* cycle;
    } cases[] = {
        {"07/12/2026", "reports\\report- 07-12-2026.log", "reports\\report-07122026.log"},
        {"12.07.2026", "reports\\report- 12.07.2026.log", "reports\\report-12.07.2026.log"},
        {"2026:07:12", "reports\\report- 2026-07-12.log", "reports\\report-20260712.log"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DailyReportName(c.date), c.daily);
        EXPECT_EQ(CycleReportName(c.date), c.cycle);
    }
}

TEST_F(ActivityLogFixture, CycleReportIsTheWholeLogAndKeepsIt) {
    clock.now = {2026, 7, 12, 10, 0, 0};
    log->SetLastLogDate({2026, 7, 12});
    log->WriteLog("a");
    log->WriteLog("b");
    log->SaveCycleReport();
    log->SaveCycleReport(); // overwritten, never appended
    EXPECT_EQ(files.files["reports\\report-07122026.log"], "a\r\nb\r\n\r\n");
    EXPECT_EQ(report.Text(), "a\r\nb\r\n");

    EXPECT_TRUE(log->SaveDailyReport());
    EXPECT_EQ(files.files["reports\\report- 07-12-2026.log"], "a\r\nb\r\n\r\n");
}

TEST_F(ActivityLogFixture, CycleReportWithoutFolderIsSkippedSilently) {
    files.folders.clear();
    log->WriteLog("a");
    log->SaveCycleReport();
    EXPECT_TRUE(files.files.empty());
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_FALSE(log->SaveDailyReport());
    EXPECT_EQ(report.Text(), "a\r\n");
}

TEST(RecordCheckResult, AddsToTheCountersAtThePosition) {
    forms::Form1 f;
    for (const char* a : {"http://a/", "http://b/"}) {
        f.urlList.AddItem(a);
        f.uptimeList.AddItem("");
        f.downTimeList.AddItem("");
    }
    f.uptimeList.SetList(0, "41");
    f.downTimeList.SetList(0, "2");

    RecordCheckResult(f, "http://b/", 1, 1, 0);
    EXPECT_EQ(f.uptimeList.List(1), "1"); // an empty count is 0
    EXPECT_EQ(f.downTimeList.List(1), "0");

    RecordCheckResult(f, "http://a-renamed/", 0, 0, 1);
    EXPECT_EQ(f.urlList.List(0), "http://a-renamed/");
    EXPECT_EQ(f.uptimeList.List(0), "41");
    EXPECT_EQ(f.downTimeList.List(0), "3");
}

TEST(RecordCheckResult, ListsThatEndBeforeThePositionGrowToIt) {
    using Entries = std::vector<std::string>;
    struct Lists {
        Entries urls, ups, downs;
    };
    struct Call {
        int position, up, down;
    };
    struct {
        const char* what;
        Lists before;
        Call call;
        Lists after;
    } cases[] = {
        {"no frequency data yet: the first check adds the entries",
         {},
         {0, 1, 0},
         {{"http://s/"}, {"1"}, {"0"}}},
        {"the reset empties the lists and records each site with 0 and 0",
         {},
         {0, 0, 0},
         {{"http://s/"}, {"0"}, {"0"}}},
        {"the entry just past the end is added",
         {{"http://a/"}, {"4"}, {"1"}},
         {1, 0, 1},
         {{"http://a/", "http://s/"}, {"4", "0"}, {"1", "1"}}},
        {"a count list shorter than the addresses",
         {{"http://a/", "http://b/"}, {"3"}, {"0"}},
         {1, 1, 0},
         {{"http://a/", "http://s/"}, {"3", "1"}, {"0", "0"}}},
        {"a gap is filled with empty entries, which count as 0",
         {},
         {2, 1, 0},
         {{"", "", "http://s/"}, {"", "", "1"}, {"", "", "0"}}},
        {"a negative position changes nothing",
         {{"http://a/"}, {"4"}, {"1"}},
         {-1, 1, 0},
         {{"http://a/"}, {"4"}, {"1"}}},
        {"a position past the end and beyond any site changes nothing",
         {{"http://a/"}, {"4"}, {"1"}},
         {kMaxSites, 1, 0},
         {{"http://a/"}, {"4"}, {"1"}}},
    };
    for (const auto& c : cases) {
        forms::Form1 f;
        for (const std::string& e : c.before.urls)
            f.urlList.AddItem(e);
        for (const std::string& e : c.before.ups)
            f.uptimeList.AddItem(e);
        for (const std::string& e : c.before.downs)
            f.downTimeList.AddItem(e);
        RecordCheckResult(f, "http://s/", c.call.position, c.call.up, c.call.down);
        EXPECT_EQ(f.urlList.Items(), c.after.urls) << c.what;
        EXPECT_EQ(f.uptimeList.Items(), c.after.ups) << c.what;
        EXPECT_EQ(f.downTimeList.Items(), c.after.downs) << c.what;
    }
}
