#include "vigil/notify/reporting.h"

#include "vigil/engine/tests/fakes.h"
#include "vigil/notify/rtf_writer.h"
#include "vigil/notify/status_report.h"
#include "vigil/notify/tests/reporting_fakes.h"

#include <gtest/gtest.h>

namespace vigil::notify {
namespace {

using engine::MsgBoxButtons;
using engine::MsgBoxResult;
using engine::TransferResult;

struct ReportingFixture : ::testing::Test {
    forms::Windows w;
    engine::fakes::Files files;
    engine::fakes::CountingPump pump;
    engine::fakes::Clock clock;
    engine::fakes::RecordingDialogs dialogs;
    engine::fakes::ScriptedTransfer transfer;
    fakes::Shell shell;
    fakes::Printer printer;
    fakes::Places places;
    std::unique_ptr<Reporting> reporting;

    void SetUp() override { Make(); }
    void Make() {
        reporting.reset();
        reporting = std::make_unique<Reporting>(
            w, ReportingPorts{files, pump, clock, dialogs, shell, printer, places});
        w.errorsWindow.Inet1.Attach(&transfer);
    }
};

TEST_F(ReportingFixture, StatusReportIsWrittenThenOpenedByTheShell) {
    w.form1.urlList.AddItem("http://a.example/");
    w.form1.uptimeList.AddItem("3");
    w.form1.downTimeList.AddItem("1");
    w.form1.freqHTML.Click();
    ASSERT_EQ(files.files.count("Frequency.htm"), 1u);
    EXPECT_EQ(files.files.at("Frequency.htm"), StatusReportText(w.form1, "07/12/2026"));
    EXPECT_EQ(shell.opened, (std::vector<std::pair<std::string, ShellOwner>>{
                                {"Frequency.htm", ShellOwner::MainWindow}}));
}

TEST_F(ReportingFixture, AnUnwrittenStatusReportIsNotOpened) {
    files.currentDirectory = "C:\\ReadOnly";
    struct NoWrite : engine::fakes::Files {
        bool WriteWholeFile(const std::string&, const std::string&) override { return false; }
    } failing;
    Reporting r(w, ReportingPorts{failing, pump, clock, dialogs, shell, printer, places});
    r.freqHTML_Click();
    EXPECT_TRUE(shell.opened.empty());
}

TEST_F(ReportingFixture, StatusCheckFillsTheListAndShowsTheWindow) {
    w.form1.domainList.AddItem("http://a.example/");
    w.form1.frequency.Click();
    EXPECT_TRUE(w.uptimeWindow.Visible());
    EXPECT_EQ(w.uptimeWindow.urlDropList.Items(), w.form1.domainList.Items());
}

TEST_F(ReportingFixture, ResetButtonRewritesTheFiles) {
    w.form1.domainList.AddItem("http://a.example/");
    w.form1.urlList.AddItem("http://a.example/");
    w.form1.uptimeList.AddItem("5");
    w.form1.ResetFreq.Click();
    EXPECT_EQ(files.files.at("FreqB.log"), "0\r\n");
    EXPECT_EQ(w.form1.uptimeList.Items(), std::vector<std::string>{"0"});
}

TEST_F(ReportingFixture, TheCycleWritesWhatStartUpLoads) {
    w.form1.urlList.AddItem("http://a.example/");
    w.form1.uptimeList.AddItem("4");
    w.form1.downTimeList.AddItem("2");
    reporting->WriteFrequencyFiles();
    forms::Windows next;
    Reporting again(next, ReportingPorts{files, pump, clock, dialogs, shell, printer, places});
    again.LoadFrequencyData();
    EXPECT_EQ(next.form1.uptimeList.Items(), std::vector<std::string>{"4"});
    EXPECT_EQ(next.form1.downTimeList.Items(), std::vector<std::string>{"2"});
}

TEST_F(ReportingFixture, ReportButtonShowsTheReportAndCloseHidesIt) {
    w.form1.Command4.Click();
    EXPECT_TRUE(w.reportWindow.Visible());
    w.reportWindow.cmdClose.Click();
    EXPECT_FALSE(w.reportWindow.Visible());
}

TEST_F(ReportingFixture, DoubleClicksOpenTheChosenSiteOwnedByTheirWindow) {
    w.form1.monReport.DblClick.Raise(); // nothing chosen: nothing opened
    w.form1.monReport.AddItem("http://down.example/");
    w.form1.monReport.SetListIndex(0);
    w.form1.monReport.DblClick.Raise();
    w.errorsWindow.errorList.AddItem("http://err.example/");
    w.errorsWindow.errorList.DblClick.Raise();
    transfer.results.push_back(TransferResult::Body("x"));
    w.errorsWindow.errorList.SetListIndex(0);
    w.errorsWindow.errorList.DblClick.Raise();
    EXPECT_EQ(shell.opened, (std::vector<std::pair<std::string, ShellOwner>>{
                                {"http://down.example/", ShellOwner::MainWindow},
                                {"http://err.example/", ShellOwner::ErrorWindow}}));
}

TEST_F(ReportingFixture, SaveReportWritesRtfUnderTheChosenName) {
    w.reportWindow.report.SetText("line {1}\r\n");
    dialogs.saveName = "C:\\Vigil\\saved.txt";
    files.folders.insert("C:\\Vigil");
    w.reportWindow.cmdSave.Click();
    EXPECT_EQ(dialogs.filters, std::vector<std::string>{"Text (*.txt)|*.txt"});
    EXPECT_EQ(w.reportWindow.dlg.FileName(), "C:\\Vigil\\saved.txt");
    EXPECT_EQ(files.files.at("C:\\Vigil\\saved.txt"), TextToRtf("line {1}\r\n", 1252));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(ReportingFixture, SaveReportCancelledOrFailing) {
    w.reportWindow.report.SetText("kept\r\n");
    dialogs.saveName = "";
    w.reportWindow.cmdSave.Click();
    EXPECT_EQ(files.writes, 0);
    EXPECT_TRUE(dialogs.shown.empty());

    dialogs.saveName = "C:\\NoAccess\\saved.txt"; // a folder the fake refuses
    w.reportWindow.cmdSave.Click();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Error saving file...");
    EXPECT_EQ(dialogs.shown[0].title, "Vigil");
    EXPECT_EQ(dialogs.shown[0].buttons, MsgBoxButtons::Ok);
    EXPECT_EQ(w.reportWindow.report.Text(), "kept\r\n");
}

TEST_F(ReportingFixture, PrintReportAsksWithFlags264AndCancelPrintsNothing) {
    w.reportWindow.report.SetText("log\r\n");
    printer.chosen = false;
    w.reportWindow.Command1.Click();
    EXPECT_TRUE(printer.printed.empty());
    printer.chosen = true;
    w.reportWindow.Command1.Click();
    EXPECT_EQ(printer.dialogFlags, (std::vector<unsigned>{264, 264}));
    EXPECT_EQ(w.reportWindow.dlg.Flags(), 264u);
    EXPECT_EQ(printer.printed, std::vector<std::string>{"log\r\n"});
}

TEST_F(ReportingFixture, ClearReportAnsweredBothWays) {
    struct Case {
        MsgBoxResult answer;
        const char* left;
    } cases[] = {{MsgBoxResult::Cancel, "log\r\n"}, {MsgBoxResult::Ok, ""}};
    for (const Case& c : cases) {
        w.reportWindow.report.SetText("log\r\n");
        dialogs.shown.clear();
        dialogs.answer = c.answer;
        w.reportWindow.Command2.Click();
        ASSERT_EQ(dialogs.shown.size(), 1u);
        EXPECT_EQ(dialogs.shown[0].text, "Are you sure you want to clear the report window?");
        EXPECT_EQ(dialogs.shown[0].title, "Vigil - Report");
        EXPECT_EQ(dialogs.shown[0].buttons, MsgBoxButtons::OkCancel);
        EXPECT_EQ(w.reportWindow.report.Text(), c.left);
    }
}

TEST_F(ReportingFixture, ReportLayoutFollowsTheSizeAndSpringsBackToTheMinimum) {
    struct Case {
        double width, height;
        double wantWidth, wantHeight;
    } cases[] = {{9000, 6000, 9000, 6000},
                 {5565, 2145, 5565, 2145},
                 {3000, 6000, 5565, 6000},
                 {9000, 1000, 9000, 2145},
                 {100, 100, 5565, 2145}};
    for (const Case& c : cases) {
        w.reportWindow.SetPlace({300, 200, c.width, c.height});
        const forms::Bounds& place = w.reportWindow.Place();
        EXPECT_EQ(place.width, c.wantWidth) << c.width << "x" << c.height;
        EXPECT_EQ(place.height, c.wantHeight) << c.width << "x" << c.height;
        EXPECT_EQ(w.reportWindow.report.Place().width, c.wantWidth - 105);
        EXPECT_EQ(w.reportWindow.report.Place().height, c.wantHeight - 1170);
        EXPECT_EQ(w.reportWindow.fraReport.Place().top, c.wantHeight - 1125);
        EXPECT_EQ(w.reportWindow.fraReport.Place().width, c.wantWidth - 105);
        EXPECT_EQ(w.reportWindow.cmdClose.Place().left, c.wantWidth - 105 - 1375);
    }
    // Minimised: nothing moves.
    w.reportWindow.SetState(forms::WindowState::Minimized);
    w.reportWindow.SetPlace({0, 0, 100, 100});
    EXPECT_EQ(w.reportWindow.Place().width, 100);
    EXPECT_EQ(w.reportWindow.report.Place().width, 5565 - 105);
}

TEST_F(ReportingFixture, ErrorListFetchesTheChosenSiteAndShowsItUnchanged) {
    w.errorsWindow.errorList.AddItem("http://a.example/");
    w.errorsWindow.errorList.AddItem("http://b.example/");
    std::vector<std::string> shownWhileFetching;
    transfer.beforeAnswer = [&] {
        shownWhileFetching.push_back(w.errorsWindow.errorDisplay.Text());
    };
    transfer.results.push_back(TransferResult::Body("<H1>500 Internal Server Error</H1>"));
    transfer.results.push_back(TransferResult::Failure("refused"));
    pump.calls = 0;
    w.errorsWindow.errorList.SetListIndex(0);
    EXPECT_EQ(w.errorsWindow.errorDisplay.Text(), "<H1>500 Internal Server Error</H1>");
    EXPECT_EQ(pump.calls, 1);
    w.errorsWindow.errorList.SetListIndex(1); // fails: the display keeps "Please Wait..."
    EXPECT_EQ(w.errorsWindow.errorDisplay.Text(), "Please Wait...");
    EXPECT_EQ(shownWhileFetching, (std::vector<std::string>{"Please Wait...", "Please Wait..."}));
    ASSERT_EQ(transfer.requests.size(), 2u);
    EXPECT_EQ(transfer.requests[0].address, "http://a.example/");
    EXPECT_EQ(transfer.requests[1].address, "http://b.example/");
}

TEST_F(ReportingFixture, ExpandTwiceReturnsToTheFormerHeightAndOkResets) {
    forms::errors& e = w.errorsWindow;
    reporting->ShowErrorWindow();
    EXPECT_TRUE(e.Visible());
    EXPECT_EQ(e.Place().height, 3555);
    e.Expand.Click();
    EXPECT_EQ(e.Place().height, 6915);
    EXPECT_EQ(e.Expand.Caption(), "<");
    e.Expand.Click();
    EXPECT_EQ(e.Place().height, 3555);
    EXPECT_EQ(e.Expand.Caption(), ">");
    e.errorDisplay.SetText("page");
    e.OKButton.Click();
    EXPECT_FALSE(e.Visible());
    EXPECT_EQ(e.errorDisplay.Text(), "Click a web address in the list above to view the error.");
}

TEST_F(ReportingFixture, WindowsComeBackWhereTheyWereLeft) {
    places.stored["Vigil Report"] = {1500, 900};
    places.stored["Vigil Error Report"] = {30, 45};
    Make();
    EXPECT_EQ(w.reportWindow.Place().left, 1500);
    EXPECT_EQ(w.reportWindow.Place().top, 900);
    EXPECT_EQ(w.errorsWindow.Place().left, 30);
    EXPECT_EQ(w.errorsWindow.Place().height, 3555); // the size is not restored
    places.saves.clear();

    forms::Bounds moved = w.uptimeWindow.Place();
    moved.left = 600;
    moved.top = 700;
    w.uptimeWindow.SetPlace(moved);
    w.uptimeWindow.Show(); // not a move: nothing stored
    EXPECT_EQ(places.saves, std::vector<std::string>{"Vigil - Frequency"});
    EXPECT_EQ(places.stored.at("Vigil - Frequency"), (WindowPosition{600, 700}));

    w.errorsWindow.SetState(forms::WindowState::Minimized);
    w.errorsWindow.SetPlace({-32000, -32000, 100, 100});
    EXPECT_EQ(places.stored.at("Vigil Error Report"), (WindowPosition{30, 45}));
}

} // namespace
} // namespace vigil::notify
