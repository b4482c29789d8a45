#pragma once
// The main window. Its controls are the monitor's live state: the option controls are the
// settings, the hidden lists hold the per-site data at the site's position, hidden labels and
// fields carry shared flags, and its timers drive everything that happens without the user.
// Every value below is the window's design-time state, before the settings are loaded.
#include "vigil/forms/controls.h"

#include <initializer_list>

namespace vigil::forms {

// The connection-test address before one is stored.
inline constexpr const char* kDefaultConnectionUrl = "http://www.microsoft.com/";

// Tab captions of TabStrip1, in tab order; each tab shows one page frame.
inline constexpr const char* kTabMonitor = "Monitor";
inline constexpr const char* kTabOptions = "Options";
inline constexpr const char* kTabConnection = "Connection";
inline constexpr const char* kTabSchedule = "Schedule";
inline constexpr const char* kTabNotification = "Notification";
inline constexpr const char* kTabAbout = "About";

// The three connection types of dialType, by index.
inline constexpr const char* kDialUpConnection = "Dial-Up Connection";
inline constexpr const char* kProxyLan = "Proxy (LAN)";
inline constexpr const char* kIeDefault = "IE Default";

struct Form1 : Form {
    Form1() : Form("Form1", "Vigil - Tessaly Ltd") {
        for (Control* hidden : std::initializer_list<Control*>{&optionsFrm,
                                                               &frmConnection,
                                                               &schedulingFrm,
                                                               &notifyFrm,
                                                               &frmAbout,
                                                               &frmSettingsCon,
                                                               &frmSettingsReporting,
                                                               &frmSettingsAudio,
                                                               &frmDialup,
                                                               &frmProxy,
                                                               &domainList,
                                                               &urlList,
                                                               &uptimeList,
                                                               &downTimeList,
                                                               &emailList1,
                                                               &emailList2,
                                                               &emailChecks,
                                                               &emailChecksOK,
                                                               &connectionUrl,
                                                               &nextCheck,
                                                               &buffer,
                                                               &msCount,
                                                               &webGo1,
                                                               &webGo2,
                                                               &webGo3,
                                                               &htmlEmailText,
                                                               &iconName,
                                                               &iconState,
                                                               &lblQuit,
                                                               &version,
                                                               &netData,
                                                               &netData2})
            hidden->SetVisible(false);
    }

    // ---- Tab strip and its six page frames (only "Monitoring" is shown at first).
    TabStrip TabStrip1{
        "TabStrip1",
        {kTabMonitor, kTabOptions, kTabConnection, kTabSchedule, kTabNotification, kTabAbout}};
    Frame MonitoringFrm{"MonitoringFrm", "Monitoring"};
    Frame optionsFrm{"optionsFrm", "Options"};
    Frame frmConnection{"frmConnection", "Connection"};
    Frame schedulingFrm{"schedulingFrm", "Scheduling"};
    Frame notifyFrm{"notifyFrm", "Notification"};
    Frame frmAbout{"frmAbout", "About"};

    // ---- "Monitor" page.
    ListBox monReport{"monReport"}; // sites that failed in the last cycle
    TextBox Status{"Status"};
    ProgressBar ProgressBar1{"ProgressBar1", 0, 100};
    Label NextCK{"NextCK", "Next Check is in : 000000 minute(s)"};

    // ---- "Options" page: four picture buttons, each showing one sub-page ("StartUp options"
    // is shown at first).
    Button Command6{"Command6"};                                   // "Connection options"
    Button Command7{"Command7"};                                   // "StartUp options"
    Button Command8{"Command8"};                                   // "Reporting options"
    Button Command9{"Command9"};                                   // "Audio options"
    TextBox connectionUrl{"connectionUrl", kDefaultConnectionUrl}; // never shown

    Frame frmSettingsCon{"frmSettingsCon", "Connection options"};
    CheckBox chkTriggerCon{"chkTriggerCon", "Trigger dial-up connection"};
    CheckBox errorWin{"errorWin", "Display Error Window"};
    CheckBox connection{"connection", "Warn on no connection"};
    // Off: a site is judged by its body alone. On: an answer of status 400 or more fails too.
    CheckBox chkHttpStatus{"chkHttpStatus", "Treat HTTP error status as failure"};

    Frame frmSettingsStart{"frmSettingsStart", "StartUp options"};
    CheckBox startmin{"startmin", "Start Vigil minimised"};
    CheckBox windowsStart{"windowsStart", "Load on windows startup"};
    CheckBox monWeb{"monWeb", "Continuously monitor connection"};
    Button windowsApply{"windowsApply", "Apply"};

    Frame frmSettingsReporting{"frmSettingsReporting", "Reporting options"};
    CheckBox FreqEnable{"FreqEnable", "Record frequency data", 1};
    CheckBox autoSaveReports{"autoSaveReports", "Auto save reports (recommended)", 1};
    CheckBox emailOnline{"emailOnline", "Send verification email (SMTP)"};
    CheckBox htmlEmail{"htmlEmail", "Send HTML emails (SMTP)"};
    CheckBox uptimeEmail{"uptimeEmail", "Send uptime report (SMTP)"};
    CheckBox exReport{"exReport", "Save web site reports on quit"};
    Button ResetFreq{"ResetFreq", "Reset Status Data"};

    Frame frmSettingsAudio{"frmSettingsAudio", "Audio options"};
    Label lblSiteSounds{"lblSiteSounds", "Sound to play on web site(s) failure:"};
    Label lblSound1{"lblSound1", "1."};
    TextBox SoundToPlay1{"SoundToPlay1", "warning.wav"};
    Button Browse1{"Browse1", "..."};
    Label lblSound2{"lblSound2", "2."};
    TextBox SoundToPlay2{"SoundToPlay2", "warning.wav"};
    Button Browse3{"Browse3", "..."};
    Label lblSound3{"lblSound3", "3+"};
    TextBox SoundToPlay3{"SoundToPlay3", "warning.wav"};
    Button Browse4{"Browse4", "..."};
    Label lblNoConSound{"lblNoConSound", "Sound to play on web connection failure:"};
    TextBox noConSound{"noConSound", "warning.wav"};
    Button browse2{"browse2", "..."};
    CommonDialog dialog{"dialog", "Sound Files (*.wav)|*.wav"}; // shared file dialog

    // ---- "Connection" page: the type, "Detect" and one settings frame per type (the frame of
    // the type shown, "IE Default", is the visible one).
    Label lblConnectionType{"lblConnectionType", "Type of connection to use:"};
    ComboBox dialType{"dialType", {kDialUpConnection, kProxyLan, kIeDefault}, kIeDefault};
    Button DetectCon{"DetectCon", "Detect"};

    Frame frmDialup{"frmDialup", "Dial-Up Settings"};
    ComboBox ispListing{"ispListing"};     // the system's dial-up entries
    Slider Slider1{"Slider1", 0, 5, 3};    // retries allowed per cycle
    TextBox dialRetrys{"dialRetrys", "3"}; // read-only mirror of Slider1
    CheckBox DialUpDisconnect{"DialUpDisconnect", "Disconnect when finished"};

    Frame frmProxy{"frmProxy", "Proxy Settings"};
    TextBox proxyIP{"proxyIP", "127.0.0.1"};
    TextBox proxyPort{"proxyPort", "80"};

    Frame frmIE{"frmIE", "IE Default"};

    // ---- "Schedule" page.
    Label lblInterval{"lblInterval", "Interval (min)"};
    TextBox intervalHours{"intervalHours", "0"};
    Label lblHours{"lblHours", "hrs"};
    TextBox intervalMins{"intervalMins", "5"};
    Label lblMins{"lblMins", "min"};
    Label lblNextCheck{"lblNextCheck", "Next Check"};
    TextBox nextCheck{"nextCheck", "60"}; // whole minutes left; NextCK shows it
    Button Schedule{"Schedule", "Start Schedule"};
    Button Command3{"Command3", "Stop Schedule"};
    Button ApplySch{"ApplySch", "Apply"};
    CheckBox startschedule{"startschedule", "Start schedule on program start"};

    // ---- "Notification" page.
    Button Command5{"Command5", "Configure"}; // shows VigilEmailer
    Label lblConfigureHint{"lblConfigureHint",
                           "Click the 'Configure' button to set up emailing options."};
    Label lblEmailMethods{
        "lblEmailMethods",
        "Vigil can use one of two methods for Email notification: 1. Vigil web site, this option "
        "uses the Vigil web site to process and send emails; 2. POP3/SMTP Server, this option "
        "allows you to specify an SMTP server to send the emails through."};

    // ---- "About" page; start-up replaces the text with "about.txt" when it exists.
    RichText about{"about",
                   "Vigil watches a list of web sites, checks each of them on a schedule or on "
                   "demand, and tells you when a site goes down or comes back online."};
    Label lblAboutVersion{"lblAboutVersion", "Version: 1.6.5"};
    Button webLink{"webLink"}; // picture button: opens the vendor's home page

    // ---- "Domains" frame, on every page: the site list and its editing controls.
    Frame Frame1{"Frame1", "Domains"};
    TextBox domainToAdd{"domainToAdd", "http://www."};
    Button AddDomain{"AddDomain", "Add URL"};
    Button Command1{"Command1", "Remove URL"};
    ListView ListView1{"ListView1", {{"Domain", 142.98}, {"Status", 34.99843}}};
    TextBox webCount{"webCount", "0"};

    // ---- Action buttons, on every page.
    Frame Frame3{"Frame3"};
    Button Command4{"Command4", "Report"};
    Button Command2{"Command2", "Check Now"};
    Button frequency{"frequency", "Status Check"};
    Button freqHTML{"freqHTML", "Status Report"};

    // ---- Timers.
    Timer Timer1{"Timer1", 60000};   // the schedule's minute; runs while the schedule runs
    Timer tmrTray{"tmrTray", 500};   // icon blink during a check
    Timer webCheck{"webCheck", 500}; // connection watch; enabled at the end of start-up
    Timer msTimer{"msTimer", 1};     // response time; runs only around each site fetch

    // ---- Hidden per-site lists, one entry per site at the site's position.
    ListBox domainList{"domainList"};
    ListBox urlList{"urlList"};
    ListBox uptimeList{"uptimeList"};
    ListBox downTimeList{"downTimeList"};
    ListBox emailList1{"emailList1"};
    ListBox emailList2{"emailList2"};

    // The two notification sets: sites notified as down, and sites considered up.
    ListBox emailChecks{"emailChecks"};
    ListBox emailChecksOK{"emailChecksOK"};

    // ---- Hidden fields and flags.
    TextBox buffer{"buffer"};               // "Importing..." while the settings load
    TextBox msCount{"msCount", "0"};        // ticks of msTimer during one fetch
    TextBox webGo1{"webGo1"};               // "Done" when webBrowser has loaded its page
    TextBox webGo2{"webGo2"};               // the same for WebBrowser1
    TextBox webGo3{"webGo3"};               // the same for WebBrowser2
    TextBox htmlEmailText{"htmlEmailText"}; // HTML body being assembled
    Label iconName{"iconName"};             // the icon of the current state
    Label iconState{"iconState", "Normal"}; // the icon shown last
    // Busy marker of the check cycle; the quit paths read it.
    Label lblQuit{"lblQuit", "QUIT"};
    Label version{"version", "1.6.5"};

    // The transfer controls: Inet1 fetches the sites (and the trigger request), Inet2 the
    // connection-test address, so the two never share a proxy setting.
    Inet Inet1{"Inet1"};
    Inet Inet2{"Inet2"};
    // Hidden working fields of the response check: the last lower-cased body of each mode.
    RichText netData{"netData"};
    RichText netData2{"netData2"};
};

} // namespace vigil::forms
