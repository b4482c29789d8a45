#include "vigil/shell/schedule.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace vigil;
using namespace vigil::shell;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

struct ScheduleFixture : ::testing::Test {
    forms::Form1 f;
    std::vector<std::string> checks;
    std::vector<std::string> captionAtCheck;
    int saves = 0;
    Scheduler scheduler{f,
                        [this](const std::string& mode) {
                            checks.push_back(mode);
                            captionAtCheck.push_back(f.NextCK.Caption());
                        },
                        [this] { ++saves; }};

    void SetFields(const char* hours, const char* mins) {
        f.intervalHours.SetText(hours);
        f.intervalMins.SetText(mins);
    }
    void Tick(int n = 1) {
        for (int i = 0; i < n; ++i)
            f.Timer1.Tick();
    }
};

} // namespace

TEST_F(ScheduleFixture, StartAppliesTheLimitsAndCountsDownTheFullInterval) {
    struct Case {
        const char *hours, *mins, *wantHours, *wantMins;
        int countdown;
    } cases[] = {
        {"0", "0", "0", "1", 1}, {"25", "75", "24", "59", 1499}, {"2", "0", "2", "1", 121},
        {"0", "5", "0", "5", 5}, {"-3", "60", "0", "59", 59},    {"24", "59", "24", "59", 1499},
        {"", "", "0", "1", 1},   {"1", "", "1", "1", 61},        {"", "30", "0", "30", 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.hours) + "/" + c.mins);
        f.Command3.Click();
        SetFields(c.hours, c.mins);
        f.Schedule.Click();
        EXPECT_EQ(f.intervalHours.Text(), c.wantHours);
        EXPECT_EQ(f.intervalMins.Text(), c.wantMins);
        EXPECT_EQ(f.nextCheck.Text(), std::to_string(c.countdown));
        EXPECT_EQ(f.NextCK.Caption(),
                  "Next Check is in : " + std::to_string(c.countdown) + " minute(s)");
        EXPECT_TRUE(f.Timer1.Enabled());
        EXPECT_TRUE(f.Command3.Enabled());
        EXPECT_FALSE(f.Schedule.Enabled());
    }
    EXPECT_THAT(checks, IsEmpty()); // no check at the start
}

TEST_F(ScheduleFixture, TickCountsDownAndChecksWithTheFullIntervalShown) {
    SetFields("0", "3");
    f.Schedule.Click();
    Tick();
    EXPECT_EQ(f.NextCK.Caption(), "Next Check is in : 2 minute(s)");
    Tick();
    EXPECT_EQ(f.nextCheck.Text(), "1");
    EXPECT_THAT(checks, IsEmpty());
    Tick();
    EXPECT_THAT(checks, ElementsAre("Schedule"));
    EXPECT_THAT(captionAtCheck, ElementsAre("Next Check is in : 3 minute(s)"));
    EXPECT_EQ(f.nextCheck.Text(), "3");
    Tick(3);
    EXPECT_EQ(checks.size(), 2u);
}

TEST_F(ScheduleFixture, ZeroMinutesAtStartChecksEveryMinute) {
    SetFields("0", "0");
    f.Schedule.Click();
    EXPECT_EQ(f.nextCheck.Text(), "1");
    Tick();
    EXPECT_EQ(checks.size(), 1u);
    Tick();
    EXPECT_EQ(checks.size(), 2u);
}

TEST_F(ScheduleFixture, StartUpPathTakesTheFieldsWithoutLimits) {
    struct Case {
        int option;
        const char *hours, *mins;
        bool starts;
        const char* countdown;
    } cases[] = {{1, "0", "0", true, "0"},
                 {-1, "0", "75", true, "75"},
                 {0, "0", "5", false, "60"},
                 {1, "2", "0", true, "120"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        forms::Form1 form;
        Scheduler s{form, [](const std::string&) {}, {}};
        form.startschedule.SetValue(c.option);
        form.intervalHours.SetText(c.hours);
        form.intervalMins.SetText(c.mins);
        s.StartOnLoad();
        EXPECT_EQ(form.Timer1.Enabled(), c.starts);
        EXPECT_EQ(form.Schedule.Enabled(), !c.starts);
        EXPECT_TRUE(form.Command3.Enabled()); // keeps its design state
        EXPECT_EQ(form.nextCheck.Text(), c.countdown);
        EXPECT_EQ(form.intervalMins.Text(), c.mins);
    }
}

TEST_F(ScheduleFixture, StartUpFromZeroChecksAtEveryTickAndStaysAtZero) {
    f.startschedule.SetValue(1);
    SetFields("0", "0");
    scheduler.StartOnLoad();
    Tick();
    EXPECT_THAT(checks, ElementsAre("Schedule"));
    EXPECT_EQ(f.nextCheck.Text(), "0");
    Tick(2);
    EXPECT_EQ(checks.size(), 3u);
    EXPECT_EQ(f.nextCheck.Text(), "0");
}

TEST_F(ScheduleFixture, EditedFieldsCountOnlyAtTheNextResetAndWithoutLimits) {
    SetFields("0", "2");
    f.Schedule.Click();
    f.intervalMins.SetText("75");
    Tick();
    EXPECT_EQ(f.nextCheck.Text(), "1");
    Tick();
    EXPECT_EQ(f.nextCheck.Text(), "75");
    EXPECT_EQ(f.intervalMins.Text(), "75");
    // An emptied field at the reset counts as 0.
    f.intervalMins.SetText("");
    f.intervalHours.SetText("1");
    Tick(75);
    EXPECT_EQ(f.nextCheck.Text(), "60");
    EXPECT_EQ(f.intervalMins.Text(), "");
    EXPECT_EQ(checks.size(), 2u);
}

TEST_F(ScheduleFixture, StopShowsManualCheckingAndStartRestartsTheFullInterval) {
    SetFields("0", "10");
    f.Schedule.Click();
    Tick(4);
    f.Command3.Click();
    EXPECT_FALSE(f.Timer1.Enabled());
    EXPECT_FALSE(f.Command3.Enabled());
    EXPECT_TRUE(f.Schedule.Enabled());
    EXPECT_EQ(f.NextCK.Caption(), "Manual web site checking is enabled");
    EXPECT_EQ(f.nextCheck.Text(), "");
    Tick(20);
    EXPECT_THAT(checks, IsEmpty());
    f.Schedule.Click();
    EXPECT_EQ(f.nextCheck.Text(), "10");
}

TEST_F(ScheduleFixture, ApplyResetsTheCountdownWithoutTouchingTimerOrButtons) {
    struct Case {
        const char *hours, *mins, *wantHours, *wantMins, *countdown;
    } cases[] = {{"Error", "Error", "0", "5", "5"},
                 {"", "", "0", "5", "5"},
                 {"1", "0", "1", "1", "61"},
                 {"30", "90", "24", "59", "1499"}};
    for (bool running : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.hours) + "/" + c.mins + (running ? " running" : ""));
            if (running) {
                SetFields("0", "5");
                f.Schedule.Click();
                Tick();
            } else {
                f.Command3.Click();
            }
            SetFields(c.hours, c.mins);
            f.ApplySch.Click();
            EXPECT_EQ(f.intervalHours.Text(), c.wantHours);
            EXPECT_EQ(f.intervalMins.Text(), c.wantMins);
            EXPECT_EQ(f.nextCheck.Text(), c.countdown);
            EXPECT_EQ(f.NextCK.Caption(), CountdownCaption(c.countdown));
            EXPECT_EQ(f.Timer1.Enabled(), running);
            EXPECT_EQ(f.Schedule.Enabled(), !running);
            EXPECT_EQ(f.Command3.Enabled(), running);
        }
    }
}

TEST_F(ScheduleFixture, EmptyCountdownAtATickChecksAtOnce) {
    SetFields("0", "5");
    f.Schedule.Click();
    f.nextCheck.SetText("");
    Tick();
    EXPECT_THAT(checks, ElementsAre("Schedule"));
    EXPECT_EQ(f.nextCheck.Text(), "5");
}

TEST_F(ScheduleFixture, StartScheduleOptionSavesTheSettings) {
    f.startschedule.Click();
    f.startschedule.Click();
    EXPECT_EQ(saves, 2);
}
