#include "vigil/shell/main_window_behaviour.h"

#include "vigil/engine/tests/fakes.h"
#include "vigil/shell/tests/shell_fakes.h"

#include <gtest/gtest.h>

namespace vigil::shell {
namespace {

struct MainWindowBehaviourTest : ::testing::Test {
    forms::Windows windows;
    forms::Form1& f = windows.form1;
    fakes::Journal journal;
    fakes::Settings settings{journal};
    fakes::OpenDialog dialog;
    fakes::Shell shell;
    engine::fakes::Files files;
    MainWindowBehaviour behaviour{f, settings, dialog, shell, files};

    std::vector<forms::Frame*> Pages() {
        return {&f.MonitoringFrm, &f.optionsFrm, &f.frmConnection,
                &f.schedulingFrm, &f.notifyFrm,  &f.frmAbout};
    }
    int Saves() {
        return static_cast<int>(std::count(journal.begin(), journal.end(), "SaveSettings"));
    }
};

TEST_F(MainWindowBehaviourTest, EachTabShowsItsPageAndHidesTheOtherFive) {
    for (int tab = 0; tab < f.TabStrip1.TabCount(); ++tab) {
        f.TabStrip1.ClickTab(tab);
        auto pages = Pages();
        for (int page = 0; page < 6; ++page)
            EXPECT_EQ(pages[page]->Visible(), page == tab) << "tab " << tab << " page " << page;
    }
}

TEST_F(MainWindowBehaviourTest, SwitchingTabsKeepsTheChosenOptionSubPage) {
    f.TabStrip1.ClickTab(1);
    const std::pair<forms::Button*, forms::Frame*> subPages[] = {
        {&f.Command6, &f.frmSettingsCon},
        {&f.Command7, &f.frmSettingsStart},
        {&f.Command8, &f.frmSettingsReporting},
        {&f.Command9, &f.frmSettingsAudio}};
    for (auto [button, page] : subPages) {
        button->Click();
        for (auto [other, otherPage] : subPages)
            EXPECT_EQ(otherPage->Visible(), otherPage == page) << otherPage->Name();
    }
    f.TabStrip1.ClickTab(3);
    f.TabStrip1.ClickTab(1);
    EXPECT_TRUE(f.frmSettingsAudio.Visible());
    EXPECT_FALSE(f.frmSettingsStart.Visible());
}

TEST_F(MainWindowBehaviourTest, TheKeyFilterPassesDigitsBackspaceAndEnterOnly) {
    struct Case {
        int key;
        int passed;
    };
    const Case cases[] = {{'0', '0'}, {'9', '9'}, {8, 8},   {13, 13}, {'a', 0},
                          {'.', 0},   {' ', 0},   {'/', 0}, {':', 0}, {27, 0}};
    for (forms::TextBox* box : {&f.intervalMins, &f.intervalHours, &f.proxyPort})
        for (const auto& c : cases)
            EXPECT_EQ(box->PressKey(c.key), c.passed) << box->Name() << " key " << c.key;
    EXPECT_EQ(f.proxyIP.PressKey('.'), '.');
    EXPECT_EQ(f.proxyIP.PressKey('a'), 'a');
}

TEST_F(MainWindowBehaviourTest, APickedSoundIsStoredAtOnce) {
    const std::pair<forms::Button*, forms::TextBox*> browse[] = {{&f.Browse1, &f.SoundToPlay1},
                                                                 {&f.Browse3, &f.SoundToPlay2},
                                                                 {&f.Browse4, &f.SoundToPlay3},
                                                                 {&f.browse2, &f.noConSound}};
    dialog.picks = true;
    for (auto [button, field] : browse) {
        journal.clear();
        dialog.picked = "C:\\sounds\\" + field->Name() + ".wav";
        button->Click();
        EXPECT_EQ(field->Text(), dialog.picked);
        EXPECT_EQ(journal, fakes::Journal{"SaveSettings"});
    }
    EXPECT_EQ(dialog.filterSeen, "Sound Files (*.wav)|*.wav");
}

TEST_F(MainWindowBehaviourTest, ACancelledBrowseKeepsTheFieldAndSavesNothing) {
    f.SoundToPlay2.SetText("mine.wav");
    f.dialog.SetFileName("other.wav"); // left from an earlier pick
    dialog.picks = false;
    f.Browse3.Click();
    EXPECT_EQ(dialog.shown, 1);
    EXPECT_EQ(f.SoundToPlay2.Text(), "mine.wav");
    EXPECT_EQ(Saves(), 0);
}

TEST_F(MainWindowBehaviourTest, ApplyAddsOrRemovesTheRunEntryAfterSaving) {
    f.windowsStart.SetValue(1);
    EXPECT_EQ(Saves(), 0) << "checking the box alone changes nothing stored";
    f.windowsApply.Click();
    EXPECT_EQ(journal, (fakes::Journal{"SaveSettings", "AddRunEntry"}));

    journal.clear();
    f.windowsStart.SetValue(0);
    files.currentDirectory = "C:\\Program Files\\Vigil";
    f.windowsApply.Click();
    EXPECT_EQ(journal, (fakes::Journal{"SaveSettings",
                                       "RemoveRunEntry C:\\Program Files\\Vigil\\Vigil.exe"}));

    journal.clear();
    files.currentDirectory = "C:\\";
    f.windowsApply.Click();
    EXPECT_EQ(journal.back(), "RemoveRunEntry C:\\Vigil.exe");
}

TEST_F(MainWindowBehaviourTest, OptionClicksSaveAndTheOthersDoNot) {
    for (forms::CheckBox* box :
         {&f.connection, &f.errorWin, &f.startmin, &f.startschedule, &f.exReport, &f.htmlEmail,
          &f.uptimeEmail, &f.emailOnline, &f.chkHttpStatus}) {
        journal.clear();
        box->Click();
        EXPECT_EQ(Saves(), 1) << box->Name();
    }
    journal.clear();
    f.connectionUrl.SetText("http://test.example/");
    EXPECT_EQ(Saves(), 1);
    journal.clear();
    f.FreqEnable.Click();
    f.autoSaveReports.Click();
    // The connection options' own boxes: their save is ConnectionModes'.
    f.chkTriggerCon.Click();
    f.monWeb.Click();
    f.DialUpDisconnect.Click();
    f.windowsStart.Click();
    f.proxyIP.SetText("10.0.0.1");
    f.intervalMins.SetText("7");
    EXPECT_EQ(Saves(), 0);
}

TEST_F(MainWindowBehaviourTest, WebLinkOpensTheVendorsHomePage) {
    f.webLink.Click();
    EXPECT_EQ(shell.opened, std::vector<std::string>{kVendorHomePage});
}

} // namespace
} // namespace vigil::shell
