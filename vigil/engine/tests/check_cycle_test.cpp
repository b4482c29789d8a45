#include "vigil/engine/check_cycle.h"
#include "vigil/engine/connection_modes.h"
#include "vigil/engine/notification_sets.h"
#include "vigil/engine/site_list.h"
#include "vigil/engine/tests/cycle_fakes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <numeric>
#include <set>

using namespace vigil;
using namespace vigil::engine;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
namespace t = vigil::engine::cycle_text;

namespace {

const std::string kTest = forms::kDefaultConnectionUrl;
const std::string kStartLine = "Web site checking started - 07/12/2026 09:30:00";
const std::string kCycleReport = "reports\\report-07122026.log";

std::string Site(int i) {
    return "http://site" + std::to_string(i) + ".test/";
}

// The windows, the engine pieces and a fake of every port, wired as start-up wires them.
struct Rig {
    forms::Windows w;
    forms::Form1& f = w.form1;
    fakes::CountingPump pump;
    fakes::Clock clock;
    fakes::Files files;
    fakes::RecordingDialogs dialogs;
    fakes::SiteTransfer net;
    fakes::Connection connection;
    fakes::Tray tray;
    fakes::Notifications notes;
    ActivityLog log{w.reportWindow.report, clock, files, dialogs};
    ResponseChecker checker{f, pump, clock};
    CheckInternetConnectionModule module{connection};
    // The dial-up events write dialState through the connection page's handlers.
    ConnectionModes modes{w, module, connection, [] {}};
    CheckCycle cycle{w, checker, log, {pump, clock, dialogs, module, connection, tray, notes}};
    SiteList sites{w, {}};

    Rig() {
        f.Inet1.Attach(&net);
        f.Inet2.Attach(&net);
        modes.Bind();
        files.folders.insert("reports");
    }

    void AddSites(int n) {
        for (int i = 1; i <= n; ++i) {
            f.domainToAdd.SetText(Site(i));
            sites.AddDomain_Click();
        }
    }
    void Fail(const std::string& address) { net.scripted[address] = {net.NotFound()}; }

    std::vector<std::string> LogLines() const {
        std::vector<std::string> lines;
        const std::string& text = w.reportWindow.report.Text();
        std::size_t start = 0;
        for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos;
             start = end + 2)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }
    int LogCount(const std::string& line) const {
        int n = 0;
        for (const auto& l : LogLines())
            n += l == line;
        return n;
    }
    std::vector<std::string> Marks() const {
        std::vector<std::string> marks;
        for (int row = 1; row <= f.ListView1.RowCount(); ++row)
            marks.push_back(f.ListView1.SubItem(row, 1));
        return marks;
    }

    // Every end of a cycle leaves the window idle.
    void ExpectIdle() const {
        EXPECT_EQ(f.lblQuit.Caption(), "QUIT");
        EXPECT_FALSE(f.tmrTray.Enabled());
        EXPECT_FALSE(f.msTimer.Enabled());
        EXPECT_FALSE(cycle.Running());
        for (const forms::Control* c : std::initializer_list<const forms::Control*>{
                 &f.Command2, &f.Command3, &f.Schedule, &f.Command1, &f.ispListing})
            EXPECT_TRUE(c->Enabled()) << c->Name();
        ASSERT_FALSE(tray.tips.empty());
        EXPECT_EQ(tray.tips.back(), "Vigil");
    }
};

struct CycleFixture : ::testing::Test, Rig {};

} // namespace

// ---- "Check Now"

TEST_F(CycleFixture, CheckNowWithAnEmptyListShowsTheMessageAndStartsNothing) {
    f.Command2.Click();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Domain list is empty, please add at least one domain to "
                                     "the list of sites to check");
    EXPECT_EQ(dialogs.shown[0].title, "Vigil");
    EXPECT_EQ(dialogs.shown[0].buttons, MsgBoxButtons::OkCancel);
    EXPECT_EQ(w.reportWindow.report.Text(), "");
    EXPECT_EQ(f.lblQuit.Caption(), "QUIT");
    EXPECT_FALSE(f.tmrTray.Enabled());
    EXPECT_TRUE(net.requests.empty());
}

TEST_F(CycleFixture, CheckNowPutsTheIntervalFieldsInRangeBeforeTheCycle) {
    struct Case {
        const char *hours, *mins, *wantHours, *wantMins;
    } cases[] = {
        {"0", "75", "0", "59"}, {"0", "0", "0", "1"}, {"25", "5", "24", "5"},
        {"-1", "5", "0", "5"},  {"", "", "0", "1"},   {"24", "59", "24", "59"},
        {"3", "1", "3", "1"},
    };
    AddSites(1);
    for (const Case& c : cases) {
        f.intervalHours.SetText(c.hours);
        f.intervalMins.SetText(c.mins);
        f.Command2.Click();
        EXPECT_EQ(f.intervalHours.Text(), c.wantHours) << c.hours << "/" << c.mins;
        EXPECT_EQ(f.intervalMins.Text(), c.wantMins) << c.hours << "/" << c.mins;
    }
    EXPECT_EQ(LogCount(kStartLine), static_cast<int>(std::size(cases)));
}

TEST_F(CycleFixture, CheckNowAsksBeforeCancellingABusyTransfer) {
    AddSites(1);
    net.executing = true;
    dialogs.answer = MsgBoxResult::Cancel;
    f.Command2.Click();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Vigil is busy processing another request,\r\nDo you want "
                                     "to cancel the previous request?");
    EXPECT_EQ(dialogs.shown[0].buttons, MsgBoxButtons::OkCancel);
    EXPECT_EQ(net.cancels, 0);
    EXPECT_EQ(LogCount(kStartLine), 0);

    dialogs.answer = MsgBoxResult::Ok;
    f.Command2.Click();
    EXPECT_EQ(net.cancels, 1);
    EXPECT_EQ(LogCount(kStartLine), 1);
    EXPECT_EQ(f.Status.Text(), "0/1 offline");
}

// ---- Outcomes of a whole cycle

TEST(CheckCycle, OutcomeByFailingSites) {
    struct Case {
        std::set<int> failing; // positions
        const char* status;
        const char* icon;
        std::vector<std::string> icons; // every icon the tray was given
        std::vector<std::string> sound;
    } cases[] = {
        {{}, "0/10 offline", "GREEN", {"GREEN", "GREEN"}, {}},
        {{4}, "1/10 offline", "YELLOW", {"YELLOW", "YELLOW"}, {"sound 1"}},
        {{0, 9}, "2/10 offline", "YELLOW", {"YELLOW", "YELLOW", "YELLOW"}, {"sound 2"}},
        {{1, 4, 7},
         "3/10 offline",
         "RED",
         {"YELLOW", "YELLOW", "YELLOW", "RED", "RED"},
         {"sound 3"}},
        {{0, 1, 2, 3},
         "4/10 offline",
         "RED",
         {"YELLOW", "YELLOW", "YELLOW", "RED", "YELLOW", "RED", "RED"},
         {"sound 4"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        Rig r;
        auto& f = r.f;
        r.AddSites(10);
        for (int p : c.failing)
            r.Fail(Site(p + 1));

        f.Command2.Click();

        EXPECT_EQ(f.Status.Text(), c.status);
        EXPECT_EQ(f.iconName.Caption(), c.icon);
        EXPECT_EQ(r.tray.icons, c.icons);
        std::vector<std::string> sounds;
        for (const auto& call : r.notes.calls)
            if (call.rfind("sound", 0) == 0)
                sounds.push_back(call);
        EXPECT_EQ(sounds, c.sound);

        std::vector<std::string> marks, errors, report;
        for (int p = 0; p < 10; ++p) {
            const bool down = c.failing.count(p) > 0;
            marks.push_back(down ? "Err" : "Ok");
            if (down) {
                errors.push_back(Site(p + 1));
                report.push_back(Site(p + 1));
            }
            EXPECT_EQ(f.uptimeList.List(p), down ? "0" : "1") << p;
            EXPECT_EQ(f.downTimeList.List(p), down ? "1" : "0") << p;
        }
        if (!report.empty())
            report.insert(report.begin(), "Errors:");
        EXPECT_EQ(r.Marks(), marks);
        EXPECT_EQ(r.w.errorsWindow.errorList.Items(), errors);
        EXPECT_EQ(f.monReport.Items(), report);
        EXPECT_EQ(r.LogCount("Web sites verified"), c.failing.empty() ? 1 : 0);
        EXPECT_EQ(f.Caption(), "Vigil - 1.6.5");
        EXPECT_EQ(f.ProgressBar1.Max(), 10);
        EXPECT_EQ(f.ProgressBar1.Value(), 0);
        EXPECT_EQ(f.webCount.Text(), "10");
        EXPECT_TRUE(f.AddDomain.Enabled());
        r.ExpectIdle();
    }
}

TEST_F(CycleFixture, NormalCycleLogsEveryStepInOrderAndTimesTheFetch) {
    AddSites(2);
    Fail(Site(2));
    net.clock = &clock;
    net.fetchMs = 37;

    f.Command2.Click();

    EXPECT_THAT(LogLines(),
                ElementsAre("", kStartLine, "Checking Web Connection...", "Initialising System", "",
                            "Processing - " + Site(1), "Website response : 37ms", "",
                            "Processing - " + Site(2), "", "Web site down - " + Site(2),
                            ">Error: 404 not found", "", "Errors reported"));
    EXPECT_EQ(f.msCount.Text(), "37");
    EXPECT_EQ(f.Status.Text(), "1/2 offline");
    EXPECT_EQ(f.Caption(), "Vigil - 1.6.5");
    EXPECT_THAT(tray.tips, ElementsAre("Checking Web Connection...", "Checking " + Site(1),
                                       "Checking " + Site(2), "Vigil"));
    EXPECT_THAT(notes.calls, ElementsAre("sound 1", "frequency files"));
    // The report file holds the whole log, the last line included.
    ASSERT_EQ(files.files.count(kCycleReport), 1u);
    EXPECT_EQ(files.files[kCycleReport], w.reportWindow.report.Text() + "\r\n");
    // The test address is fetched once to go online and once more before judging the site.
    EXPECT_EQ(net.RequestsFor(kTest), 2);
    ExpectIdle();
}

TEST_F(CycleFixture, AllUpInDialUpModeHangsUpTheEntry) {
    AddSites(3);
    f.dialType.SetText(forms::kDialUpConnection);
    f.ispListing.AddItem("Office");
    f.ispListing.SetText("Office");
    w.settings.dialUpConnection.SetText("Office");
    f.autoSaveReports.SetValue(0);
    f.FreqEnable.SetValue(0);

    f.Command2.Click();

    EXPECT_THAT(connection.calls, ElementsAre("Active:Office", "Disconnect:Office"));
    const auto lines = LogLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_THAT(std::vector<std::string>(lines.end() - 3, lines.end()),
                ElementsAre("", "Web sites verified", "Disconnecting"));
    EXPECT_EQ(f.Status.Text(), "0/3 offline");
    EXPECT_EQ(f.iconName.Caption(), "GREEN");
    EXPECT_THAT(notes.calls, IsEmpty());
    EXPECT_EQ(files.writes, 0);
    ExpectIdle();
}

TEST_F(CycleFixture, ErrorWindowOnlyWhenDisplayErrorWindowIsChecked) {
    AddSites(2);
    Fail(Site(1));
    f.errorWin.SetValue(1);
    f.Command2.Click();
    EXPECT_THAT(notes.calls, ElementsAre("error window", "sound 1", "frequency files"));
}

// ---- Aborts

TEST_F(CycleFixture, TriggerOffAbortsAtOnceWithoutConnection) {
    AddSites(3);
    connection.online = {false};
    f.connection.SetValue(1);

    f.Command2.Click();

    EXPECT_THAT(LogLines(),
                ElementsAre("", kStartLine, "Checking Web Connection...",
                            "No web connection available!", "Web site checking aborted"));
    EXPECT_EQ(net.RequestsFor(kTest), 0); // IsOnline said no: no test fetch
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(net.RequestsFor(Site(i)), 0);
    EXPECT_THAT(notes.calls,
                ElementsAre("no-connection sound", "alert No web connection detected"));
    EXPECT_THAT(tray.icons, ElementsAre("NOWEB"));
    EXPECT_EQ(f.Caption(), "Vigil - Tessaly Ltd");
    EXPECT_EQ(f.Status.Text(), "Checking Connection");
    EXPECT_THAT(Marks(), ElementsAre("?", "?", "?"));
    EXPECT_EQ(files.files[kCycleReport], w.reportWindow.report.Text() + "\r\n");
    ExpectIdle();
}

TEST_F(CycleFixture, SiteFailingWhileTheTestAddressFailsAbortsWithoutJudgingTheSite) {
    AddSites(3);
    Fail(Site(2));
    net.scripted[kTest] = {net.Healthy(), net.Refused()};
    f.connection.SetValue(1);

    f.Command2.Click();

    EXPECT_THAT(LogLines(), ElementsAre("", kStartLine, "Checking Web Connection...",
                                        "Initialising System", "", "Processing - " + Site(1),
                                        "Website response : 0ms", "", "Processing - " + Site(2), "",
                                        "web connection failure!", "Web site checking aborted"));
    EXPECT_THAT(Marks(), ElementsAre("Ok", "?", "?"));
    EXPECT_THAT(w.errorsWindow.errorList.Items(), IsEmpty());
    EXPECT_THAT(f.monReport.Items(), IsEmpty());
    EXPECT_EQ(f.downTimeList.List(1), "0");
    EXPECT_EQ(f.uptimeList.List(0), "1");
    EXPECT_EQ(net.RequestsFor(Site(3)), 0);
    EXPECT_THAT(notes.calls, ElementsAre("no-connection sound",
                                         "alert Web connection failure\r\ncheck modem and/or "
                                         "connection"));
    EXPECT_THAT(tray.icons, ElementsAre("NOWEB"));
    EXPECT_EQ(f.ProgressBar1.Value(), 0);
    EXPECT_EQ(f.Caption(), "Vigil - Tessaly Ltd");
    EXPECT_EQ(files.files[kCycleReport], w.reportWindow.report.Text() + "\r\n");
    ExpectIdle();
}

TEST_F(CycleFixture, EmptyTestAddressWarnsAndFailsTheOnlineTest) {
    AddSites(1);
    f.connectionUrl.SetText("");
    f.Command2.Click();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Invalid url for verification");
    EXPECT_EQ(dialogs.shown[0].buttons, MsgBoxButtons::Ok);
    EXPECT_EQ(LogCount("No web connection available!"), 1);
}

// ---- The online decision

TEST_F(CycleFixture, OnlineDecisionByConnectionType) {
    struct Case {
        const char* type;
        bool online, lan, active, testOk;
        bool wantOnline;
        bool wantTestFetch;
    } cases[] = {
        {forms::kIeDefault, true, false, false, true, true, true},
        {forms::kIeDefault, false, true, true, true, false, false},
        {forms::kIeDefault, true, true, true, false, false, true},
        {forms::kProxyLan, false, true, false, true, true, true},
        {forms::kProxyLan, true, false, true, true, false, false},
        {forms::kProxyLan, true, true, true, false, false, true},
        {forms::kDialUpConnection, false, false, true, true, true, true},
        {forms::kDialUpConnection, true, true, false, true, false, false},
        {forms::kDialUpConnection, true, true, true, false, false, true},
        {"", false, false, false, false, true, false},
        {"Something else", false, false, false, false, true, false},
    };
    AddSites(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + std::to_string(c.online) + std::to_string(c.lan) +
                     std::to_string(c.active) + std::to_string(c.testOk));
        f.dialType.SetText(c.type);
        connection.online = {c.online};
        connection.lan = c.lan;
        connection.active = c.active;
        net.scripted[kTest] = {c.testOk ? net.Healthy() : net.NotFound()};
        net.requests.clear();
        w.reportWindow.report.SetText({});

        f.Command2.Click();

        EXPECT_EQ(LogCount("Initialising System"), c.wantOnline ? 1 : 0);
        EXPECT_EQ(LogCount("No web connection available!"), c.wantOnline ? 0 : 1);
        EXPECT_EQ(net.RequestsFor(kTest), c.wantTestFetch ? 1 : 0);
    }
}

TEST_F(CycleFixture, ProxyOfBothTransfersFollowsTheConnectionType) {
    AddSites(1);
    f.dialType.SetText(forms::kProxyLan);
    f.proxyIP.SetText("10.0.0.5");
    f.proxyPort.SetText("3128");
    f.Command2.Click();
    ASSERT_EQ(net.requests.size(), 2u); // test address, then the site
    for (const auto& r : net.requests) {
        EXPECT_EQ(r.proxy, "10.0.0.5:3128");
        EXPECT_EQ(r.accessType, AccessType::NamedProxy);
    }
    f.dialType.SetText(forms::kIeDefault);
    net.requests.clear();
    f.Command2.Click();
    for (const auto& r : net.requests)
        EXPECT_EQ(r.accessType, AccessType::Default);
}

TEST_F(CycleFixture, FailureInTheOnlineTestIsAMissingConnection) {
    AddSites(1);
    f.dialType.SetText(forms::kDialUpConnection);
    connection.throwOnActive = true;
    f.Command2.Click();
    EXPECT_EQ(LogCount("No web connection available!"), 1);
    ExpectIdle();
}

// ---- Triggering and retries

TEST(CheckCycle, PageTriggerRetriesWhileTheCounterIsAtMostTheSlider) {
    for (const char* type : {forms::kIeDefault, forms::kProxyLan}) {
        for (int slider : {0, 3, 5}) {
            SCOPED_TRACE(std::string(type) + " " + std::to_string(slider));
            Rig r;
            r.AddSites(2);
            r.f.dialType.SetText(type);
            r.connection.online = {false};
            r.connection.lan = false;
            r.f.chkTriggerCon.SetValue(1);
            r.f.Slider1.SetValue(slider);

            r.f.Command2.Click();

            // slider + 1 retries, then the last trigger finds the retries used up.
            EXPECT_EQ(r.LogCount("Triggering Internet Connection"), slider + 2);
            EXPECT_EQ(r.LogCount("Checking Web Connection..."), slider + 2);
            EXPECT_EQ(r.net.RequestsFor(Site(1)), slider + 1); // the first site as trigger
            EXPECT_EQ(r.net.RequestsFor(Site(2)), 0);
            EXPECT_EQ(r.LogCount("No web connection available!"), 1);
        }
    }
}

TEST_F(CycleFixture, RetriesAreCountedAcrossTheWholeCycle) {
    AddSites(3);
    f.chkTriggerCon.SetValue(1);
    f.Slider1.SetValue(1);             // two retries in the whole cycle
    connection.online = {false, true}; // the phase spends one
    // Site 1: the trigger page, then a failure that spends the other retry, then fine.
    net.scripted[Site(1)] = {net.Healthy(), net.NotFound(), net.Healthy()};
    net.scripted[Site(2)] = {net.NotFound()};
    // Test address: online at the phase's second test, lost after site 1 fails, then back
    // (the trigger request), fine for the re-attempt, lost again after site 2 fails.
    net.scripted[kTest] = {net.Healthy(), net.Refused(), net.Healthy(), net.Refused()};

    f.Command2.Click();

    EXPECT_EQ(LogCount("Triggering Internet Connection"), 3);
    EXPECT_EQ(LogCount("web connection failure!"), 1);
    EXPECT_EQ(net.RequestsFor(Site(1)), 1 + 2); // trigger page, then two attempts
    EXPECT_EQ(net.RequestsFor(Site(2)), 1);
    EXPECT_EQ(net.RequestsFor(Site(3)), 0);
    EXPECT_THAT(Marks(), ElementsAre("Ok", "?", "?"));
    EXPECT_THAT(w.errorsWindow.errorList.Items(), IsEmpty());
}

TEST_F(CycleFixture, SiteRetriedAfterTheTriggerIsJudgedOnItsNewAttempt) {
    AddSites(1);
    f.chkTriggerCon.SetValue(1);
    net.scripted[Site(1)] = {net.Refused(), net.NotFound()};
    net.scripted[kTest] = {net.Healthy(), net.Refused(), net.Healthy()};
    f.Command2.Click();
    EXPECT_EQ(LogCount("Triggering Internet Connection"), 1);
    EXPECT_EQ(LogCount(">Error: 404 not found"), 1);
    EXPECT_EQ(f.Status.Text(), "1/1 offline");
}

// ---- Dial-up

struct DialUpFixture : CycleFixture {
    DialUpFixture() {
        AddSites(1);
        f.dialType.SetText(forms::kDialUpConnection);
        f.chkTriggerCon.SetValue(1);
        f.ispListing.AddItem("Office");
        f.ispListing.SetText("Office");
        w.settings.dialUpConnection.SetText("Office");
        w.settings.dialState.SetText("Connection Disconnected");
        connection.active = false;
    }
};

TEST_F(DialUpFixture, DialWaitsForTheDialStateAndTestsAgain) {
    // The outcome arrives through the message loop a few turns after Connect.
    int turns = -1;
    connection.onConnect = [&](const std::string&) {
        EXPECT_EQ(w.settings.dialState.Text(), ""); // cleared before dialling
        turns = 0;
    };
    pump.onDoEvents = [&] {
        if (turns >= 0 && ++turns == 4) {
            connection.Connected.Raise("Office");
            connection.active = true;
            turns = -1;
        }
    };

    f.Command2.Click();

    EXPECT_THAT(connection.calls, ElementsAre("Active:Office", "Connect:Office", "Active:Office",
                                              "Disconnect:Office"));
    const auto lines = LogLines();
    EXPECT_THAT(std::vector<std::string>(lines.begin() + 2, lines.begin() + 7),
                ElementsAre("Checking Web Connection...", "Triggering Internet Connection",
                            "Connected", "Checking Web Connection...", "Initialising System"));
    ASSERT_GE(clock.sleeps.size(), 2u);
    EXPECT_EQ(clock.sleeps.front(), 1500);
    EXPECT_EQ(clock.sleeps.back(), 500);
    EXPECT_EQ(f.Status.Text(), "0/1 offline");
}

TEST_F(DialUpFixture, DialWithoutAnyOutcomeEventEndsAsAFailedDial) {
    f.Slider1.SetValue(1);
    f.connection.SetValue(0);

    f.Command2.Click(); // Connect raises nothing: each wait runs out

    EXPECT_EQ(connection.Count("Connect:Office"), 2);
    EXPECT_EQ(LogCount("Connection Failure"), 2);
    EXPECT_EQ(LogCount("No web connection available!"), 1);
    const int waited = std::accumulate(clock.sleeps.begin(), clock.sleeps.end(), 0);
    EXPECT_GE(waited, 2 * (1500 + kDialEventWaitMs + 500));
    EXPECT_LE(waited, 2 * (1500 + kDialEventWaitMs + 500 + kDialPollMs));
    ExpectIdle();
}

TEST_F(DialUpFixture, RefusedConnectIsAFailedDialWithoutWaiting) {
    f.Slider1.SetValue(0);
    connection.throwOnConnect = true;
    f.Command2.Click();
    EXPECT_EQ(LogCount("Connection Failure"), 1);
    EXPECT_THAT(clock.sleeps, ElementsAre(1500, 500));
}

TEST_F(DialUpFixture, LostConnectionDuringTheSitesIsDialledAgain) {
    connection.active = true;
    net.scripted[Site(1)] = {net.Refused(), net.Healthy()};
    net.scripted[kTest] = {net.Healthy(), net.Refused(), net.Healthy()};
    connection.onConnect = [&](const std::string& name) { connection.Connected.Raise(name); };
    f.Command2.Click();
    EXPECT_EQ(connection.Count("Connect:Office"), 1);
    EXPECT_EQ(LogCount("Connected"), 1);
    EXPECT_EQ(f.Status.Text(), "0/1 offline");
}

// ---- Re-entry

TEST_F(CycleFixture, StartDuringACycleOnlyMarksBusyAndReturns) {
    AddSites(3);
    Fail(Site(1));
    bool reentered = false;
    std::size_t requestsBefore = 0;
    pump.onDoEvents = [&] {
        if (!reentered && f.iconName.Caption() == "YELLOW") {
            reentered = true;
            requestsBefore = net.requests.size();
            cycle.BeginCheck("Schedule");
            EXPECT_EQ(net.requests.size(), requestsBefore);
            EXPECT_EQ(f.lblQuit.Caption(), "NOQUIT");
            EXPECT_TRUE(f.tmrTray.Enabled());
            f.Command2.Click(); // disabled: ignored
        }
    };

    f.Command2.Click();

    EXPECT_TRUE(reentered);
    EXPECT_EQ(LogCount(kStartLine), 1);
    EXPECT_EQ(f.Status.Text(), "1/3 offline");
    EXPECT_EQ(f.iconName.Caption(), "YELLOW"); // the running cycle keeps its result icon
    EXPECT_EQ(tray.icons.back(), "YELLOW");
    ExpectIdle();
}

TEST_F(CycleFixture, BusyMarkerAndDisabledButtonsWhileTheCycleRuns) {
    AddSites(1);
    bool checked = false;
    pump.onDoEvents = [&] {
        if (checked)
            return;
        checked = true;
        EXPECT_EQ(f.lblQuit.Caption(), "NOQUIT");
        EXPECT_TRUE(f.tmrTray.Enabled());
        EXPECT_EQ(f.iconName.Caption(), "BLANK");
        EXPECT_TRUE(cycle.Running());
        for (const forms::Control* c : std::initializer_list<const forms::Control*>{
                 &f.Command2, &f.Command3, &f.Schedule, &f.AddDomain, &f.Command1, &f.ispListing})
            EXPECT_FALSE(c->Enabled()) << c->Name();
    };
    f.Command2.Click();
    EXPECT_TRUE(checked);
}

// ---- Notification sets

TEST_F(CycleFixture, FailureAndRecoveryNotificationsFollowTheSets) {
    AddSites(3);
    w.emailer.emailNotify.SetText(forms::kVigilEmailer);
    Fail(Site(1));
    f.emailChecksOK.AddItem(Site(1));    // a second copy: every copy goes
    SetRemove(f.emailChecksOK, Site(2)); // site 2 was down: it recovers
    f.emailChecks.AddItem(Site(2));
    f.emailChecks.AddItem(Site(2));
    f.FreqEnable.SetValue(0);

    f.Command2.Click();

    EXPECT_THAT(notes.calls, ElementsAre("failure " + Site(1) + "|404 not found",
                                         "recovery " + Site(2) + "|OK", "sound 1"));
    EXPECT_FALSE(SetContains(f.emailChecksOK, Site(1)));
    EXPECT_FALSE(SetContains(f.emailChecks, Site(2)));
}

TEST_F(CycleFixture, NoFailureNotificationWhenTheMethodIsNone) {
    AddSites(1);
    Fail(Site(1));
    f.Command2.Click();
    for (const auto& call : notes.calls)
        EXPECT_THAT(call, ::testing::Not(HasSubstr("failure")));
}

// ---- "Add URL" after a cycle

TEST_F(CycleFixture, AddUrlIsOfferedAfterACycleOnlyBelowTheStoredLimit) {
    struct Case {
        int sites;
        bool online;
        bool enabled;
    } cases[] = {{99, true, true}, {100, true, false}, {100, false, false}, {99, false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.sites) + (c.online ? " online" : " offline"));
        while (f.domainList.ListCount() > c.sites) {
            f.ListView1.SelectRow(f.ListView1.RowCount());
            sites.Command1_Click();
        }
        if (f.domainList.ListCount() < c.sites)
            AddSites(c.sites - f.domainList.ListCount());
        ASSERT_EQ(f.domainList.ListCount(), c.sites);
        connection.online = {c.online};
        f.Command2.Click();
        EXPECT_EQ(f.AddDomain.Enabled(), c.enabled);
    }
}
