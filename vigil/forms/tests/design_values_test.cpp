// The windows' design-time state that behaviour and the settings store rely on.
#include "vigil/forms/windows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vigil::forms;

TEST(DesignValues, MainWindowTabsPagesAndSubPages) {
    Windows w;
    const Form1& f = w.form1;
    EXPECT_EQ(f.TabStrip1.Tabs(), (std::vector<std::string>{"Monitor", "Options", "Connection",
                                                            "Schedule", "Notification", "About"}));
    EXPECT_EQ(f.TabStrip1.SelectedCaption(), "Monitor");
    struct Shown {
        const Control& control;
        const char* caption;
        bool visible;
    };
    for (const Shown& c : std::vector<Shown>{{f.MonitoringFrm, "Monitoring", true},
                                             {f.optionsFrm, "Options", false},
                                             {f.frmConnection, "Connection", false},
                                             {f.schedulingFrm, "Scheduling", false},
                                             {f.notifyFrm, "Notification", false},
                                             {f.frmAbout, "About", false},
                                             {f.frmSettingsCon, "Connection options", false},
                                             {f.frmSettingsStart, "StartUp options", true},
                                             {f.frmSettingsReporting, "Reporting options", false},
                                             {f.frmSettingsAudio, "Audio options", false},
                                             {f.frmDialup, "Dial-Up Settings", false},
                                             {f.frmProxy, "Proxy Settings", false},
                                             {f.frmIE, "IE Default", true},
                                             {f.lblQuit, "QUIT", false},
                                             {f.iconState, "Normal", false},
                                             {f.version, "1.6.5", false}}) {
        EXPECT_EQ(c.control.Caption(), c.caption) << c.control.Name();
        EXPECT_EQ(c.control.Visible(), c.visible) << c.control.Name();
    }
}

TEST(DesignValues, TimersOfEveryWindow) {
    Windows w;
    struct Expected {
        const Timer& timer;
        unsigned interval;
        bool enabled;
    };
    for (const Expected& t : std::vector<Expected>{{w.form1.Timer1, 60000, false},
                                                   {w.form1.tmrTray, 500, false},
                                                   {w.form1.webCheck, 500, false},
                                                   {w.form1.msTimer, 1, false},
                                                   {w.uptimeWindow.Timer1, 1000, true},
                                                   {w.splashWindow.Timer1, 2000, true}}) {
        EXPECT_EQ(t.timer.Interval(), t.interval) << t.timer.Name();
        EXPECT_EQ(t.timer.Enabled(), t.enabled) << t.timer.Name();
    }
}

TEST(DesignValues, OptionControlsBeforeAnyLoad) {
    Windows w;
    const Form1& f = w.form1;
    struct Box {
        const CheckBox& box;
        const char* caption;
        int value;
    };
    for (const Box& c :
         std::vector<Box>{{f.connection, "Warn on no connection", 0},
                          {f.chkHttpStatus, "Treat HTTP error status as failure", 0},
                          {f.errorWin, "Display Error Window", 0},
                          {f.chkTriggerCon, "Trigger dial-up connection", 0},
                          {f.monWeb, "Continuously monitor connection", 0},
                          {f.startmin, "Start Vigil minimised", 0},
                          {f.windowsStart, "Load on windows startup", 0},
                          {f.startschedule, "Start schedule on program start", 0},
                          {f.exReport, "Save web site reports on quit", 0},
                          {f.htmlEmail, "Send HTML emails (SMTP)", 0},
                          {f.uptimeEmail, "Send uptime report (SMTP)", 0},
                          {f.emailOnline, "Send verification email (SMTP)", 0},
                          {f.DialUpDisconnect, "Disconnect when finished", 0},
                          {f.FreqEnable, "Record frequency data", 1},
                          {f.autoSaveReports, "Auto save reports (recommended)", 1}}) {
        EXPECT_EQ(c.box.Caption(), c.caption) << c.box.Name();
        EXPECT_EQ(c.box.Value(), c.value) << c.box.Name();
    }
    struct Text {
        const TextBox& field;
        const char* text;
    };
    for (const Text& t : std::vector<Text>{{f.SoundToPlay1, "warning.wav"},
                                           {f.SoundToPlay2, "warning.wav"},
                                           {f.SoundToPlay3, "warning.wav"},
                                           {f.noConSound, "warning.wav"},
                                           {f.intervalMins, "5"},
                                           {f.intervalHours, "0"},
                                           {f.nextCheck, "60"},
                                           {f.proxyIP, "127.0.0.1"},
                                           {f.proxyPort, "80"},
                                           {f.dialRetrys, "3"},
                                           {f.domainToAdd, "http://www."},
                                           {f.buffer, ""}})
        EXPECT_EQ(t.field.Text(), t.text) << t.field.Name();
    EXPECT_EQ(f.Slider1.Value(), 3);
    EXPECT_EQ(f.Slider1.Max(), 5);
    EXPECT_EQ(f.dialType.Items(),
              (std::vector<std::string>{"Dial-Up Connection", "Proxy (LAN)", "IE Default"}));
    EXPECT_EQ(w.emailer.emailNotify.Items(),
              (std::vector<std::string>{"None", "Vigil Emailer", "POP3 Emailer"}));
    EXPECT_EQ(w.emailer.emailNotify.Text(), "None");
    EXPECT_EQ(w.emailer.frmSite.Caption(), "Site settings");
    EXPECT_EQ(w.errorsWindow.errorDisplay.Text(),
              "Click a web address in the list above to view the error.");
    EXPECT_EQ(w.alertWindow.message.Caption(), "Vigil Error");
    EXPECT_EQ(w.uptimeWindow.urlDropList.Text(), "Select web site");
}
