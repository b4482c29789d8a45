#include "vigil/shell/life_cycle.h"

#include "vigil/engine/tests/fakes.h"
#include "vigil/shell/tests/shell_fakes.h"

#include <gtest/gtest.h>

namespace vigil::shell {
namespace {

struct LifeCycleTest : ::testing::Test {
    forms::Windows windows;
    forms::Form1& f = windows.form1;
    fakes::Journal journal;
    fakes::Settings settings{journal};
    fakes::Process process{journal};
    engine::fakes::CountingPump pump;
    engine::fakes::Clock clock;
    engine::fakes::Files files;
    engine::fakes::RecordingDialogs dialogs;
    engine::ActivityLog log{windows.reportWindow.report, clock, files, dialogs};
    std::unique_ptr<LifeCycle> cycle;

    LifeCycleTest() {
        auto step = [this](const char* name) { return [this, name] { journal.push_back(name); }; };
        LifeCycleSteps steps;
        steps.bindDialUpControl = step("bindDialUpControl");
        steps.fillDialUpEntries = step("fillDialUpEntries");
        steps.loadFrequencyData = step("loadFrequencyData");
        steps.startSchedule = step("startSchedule");
        steps.createTrayIcon = step("createTrayIcon");
        steps.unloadTrayWindow = step("unloadTrayWindow");
        steps.removeTrayIcon = step("removeTrayIcon");
        steps.unloadWindow = [this](forms::Form& form) {
            journal.push_back("unload " + form.Name());
            form.Hide();
        };
        cycle = std::make_unique<LifeCycle>(windows, settings, process, pump, log, clock, dialogs,
                                            steps);
        windows.splashWindow.StateChanged.Add([this] {
            if (windows.splashWindow.Visible())
                journal.push_back("splash shown");
        });
    }

    void Started() {
        ASSERT_EQ(cycle->Load(), LifeCycle::Start::Running);
        journal.clear();
    }
};

TEST_F(LifeCycleTest, StartUpRunsItsStepsInOrder) {
    settings.locale[kLocalePath] = "C:\\Program Files\\Vigil";
    f.startschedule.SetValue(1);
    EXPECT_EQ(cycle->Load(), LifeCycle::Start::Running);
    const fakes::Journal expected = {
        "bindDialUpControl",   "ReadLocale Path",        "ChangeFolder C:\\Program Files\\Vigil",
        "AnotherInstanceRuns", "ReadTextFile about.txt", "LoadSettings",
        "fillDialUpEntries",   "splash shown",           "loadFrequencyData",
        "startSchedule",       "createTrayIcon",         "BringMainWindowToFront"};
    EXPECT_EQ(journal, expected);
    EXPECT_TRUE(f.Visible());
    EXPECT_TRUE(f.webCheck.Enabled());
    EXPECT_TRUE(f.MonitoringFrm.Visible());
    EXPECT_EQ(cycle->StartupDate(), (engine::CalendarDate{2026, 7, 12}));
    EXPECT_EQ(log.LastLogDate(), (engine::CalendarDate{2026, 7, 12}));
    EXPECT_EQ(windows.splashWindow.lblVersion.Caption(), "Version 1.6.5");
}

TEST_F(LifeCycleTest, ASecondInstanceEndsBeforeAnythingIsShownOrLoaded) {
    process.otherInstance = true;
    f.emailChecks.AddItem("http://a/");
    EXPECT_EQ(cycle->Load(), LifeCycle::Start::SecondInstance);
    EXPECT_EQ(journal.back(), "AnotherInstanceRuns");
    EXPECT_FALSE(f.Visible());
    EXPECT_FALSE(windows.splashWindow.Visible());
    EXPECT_FALSE(f.webCheck.Enabled());
    EXPECT_EQ(f.emailChecks.ListCount(), 1);
}

TEST_F(LifeCycleTest, AnUnsetInstallPathLeavesTheFolder) {
    for (const char* unset : {"", "Error"}) {
        journal.clear();
        settings.locale[kLocalePath] = unset;
        forms::Windows fresh;
        LifeCycle other(fresh, settings, process, pump, log, clock, dialogs, {});
        other.Load();
        EXPECT_EQ(
            std::count_if(journal.begin(), journal.end(),
                          [](const std::string& s) { return s.rfind("ChangeFolder", 0) == 0; }),
            0);
    }
}

TEST_F(LifeCycleTest, AboutTextComesFromTheInstallFolder) {
    settings.locale[kLocalePath] = "D:\\Vigil";
    process.folderFiles["D:\\Vigil\\about.txt"] = "About this copy\r\n";
    const std::string design = f.about.Text();
    cycle->Load();
    EXPECT_EQ(f.about.Text(), "About this copy\r\n");

    forms::Windows fresh;
    process.folderFiles.clear();
    LifeCycle other(fresh, settings, process, pump, log, clock, dialogs, {});
    other.Load();
    EXPECT_EQ(fresh.form1.about.Text(), design) << "a missing file leaves the text";
}

TEST_F(LifeCycleTest, UnsetIntervalsBecomeFiveMinutesAndNoHours) {
    settings.onLoad = [this] {
        f.intervalMins.SetText("Error");
        f.intervalHours.SetText("");
    };
    cycle->Load();
    EXPECT_EQ(f.intervalMins.Text(), "5");
    EXPECT_EQ(f.intervalHours.Text(), "0");
}

TEST_F(LifeCycleTest, StartedMinimisedTheWindowIsNeverShown) {
    int shown = 0;
    f.StateChanged.Add([&] { shown += f.Visible() ? 1 : 0; });
    settings.onLoad = [this] { f.startmin.SetValue(1); };
    cycle->Load();
    EXPECT_EQ(shown, 0);
    EXPECT_FALSE(f.Visible());
    EXPECT_EQ(f.State(), forms::WindowState::Normal);
    EXPECT_TRUE(f.webCheck.Enabled());
}

TEST_F(LifeCycleTest, MinimisingHidesTheWindowAndSetsItBackToNormal) {
    Started();
    f.SetState(forms::WindowState::Minimized);
    EXPECT_FALSE(f.Visible());
    EXPECT_EQ(f.State(), forms::WindowState::Normal);
}

TEST_F(LifeCycleTest, TheSplashClosesOnItsFirstTick) {
    Started();
    ASSERT_TRUE(windows.splashWindow.Visible());
    windows.splashWindow.Timer1.Tick();
    EXPECT_FALSE(windows.splashWindow.Visible());
    EXPECT_FALSE(windows.splashWindow.Timer1.Enabled());
}

TEST_F(LifeCycleTest, WindowCloseDuringACheckShowsTheAlertAndKeepsRunning) {
    Started();
    f.lblQuit.SetCaption(kBusy);
    EXPECT_FALSE(cycle->WindowCloseQuit());
    EXPECT_TRUE(windows.alertWindow.Visible());
    EXPECT_EQ(windows.alertWindow.message.Caption(),
              "Vigil is currently checking web sites.\r\nPlease wait until checking is complete");
    EXPECT_EQ(pump.calls, 1);
    EXPECT_TRUE(f.Visible());
    EXPECT_TRUE(journal.empty()) << "nothing saved, nothing unloaded";
}

TEST_F(LifeCycleTest, WindowCloseQuitsWhenTheCheckEndsWhileTheAlertIsUp) {
    Started();
    f.lblQuit.SetCaption(kBusy);
    pump.onDoEvents = [this] { f.lblQuit.SetCaption("QUIT"); };
    EXPECT_TRUE(cycle->WindowCloseQuit());
    EXPECT_EQ(journal.back(), "EndMessageLoop");
}

TEST_F(LifeCycleTest, WindowCloseSavesWritesTheReportAndUnloadsInOrder) {
    Started();
    files.folders.insert("reports");
    f.exReport.SetValue(1);
    windows.reportWindow.report.SetText("line one\r\n");
    EXPECT_TRUE(cycle->WindowCloseQuit());
    const fakes::Journal expected = {"SaveSettings",        "unload frmReport", "unload errors",
                                     "unload splash",       "unload uptime",    "unload Settings",
                                     "unload VigilEmailer", "unload alertBox",  "unloadTrayWindow",
                                     "removeTrayIcon",      "unload Form1",     "EndMessageLoop"};
    EXPECT_EQ(journal, expected);
    EXPECT_FALSE(f.Visible());
    EXPECT_EQ(files.files.at("reports\\report- 07-12-2026.log"), "line one\r\n\r\n");
}

TEST_F(LifeCycleTest, WindowCloseWithoutTheOptionWritesNoReport) {
    Started();
    files.folders.insert("reports");
    EXPECT_TRUE(cycle->WindowCloseQuit());
    EXPECT_TRUE(files.files.empty());
}

TEST_F(LifeCycleTest, MenuQuitDuringACheckOnlyTellsTheUser) {
    Started();
    f.lblQuit.SetCaption(kBusy);
    EXPECT_FALSE(cycle->MenuQuit());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Vigil is Currently Checking Web Sites, please wait");
    EXPECT_EQ(dialogs.shown[0].title, "Vigil");
    EXPECT_EQ(dialogs.shown[0].buttons, engine::MsgBoxButtons::Ok);
    EXPECT_TRUE(journal.empty());
    EXPECT_TRUE(f.Visible());
}

TEST_F(LifeCycleTest, MenuQuitSavesRemovesTheIconAndEndsWithoutUnloadingOrTheReport) {
    Started();
    files.folders.insert("reports");
    f.exReport.SetValue(1);
    journal.clear();
    EXPECT_TRUE(cycle->MenuQuit());
    EXPECT_EQ(journal, (fakes::Journal{"SaveSettings", "removeTrayIcon", "EndProgramNow"}));
    EXPECT_EQ(pump.calls, 1);
    EXPECT_FALSE(f.Visible());
    EXPECT_TRUE(files.files.empty());
}

} // namespace
} // namespace vigil::shell
