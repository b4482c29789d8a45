#pragma once
// Vigil.exe put together: the ports on the platform, the real windows, the behaviour objects
// on the forms, and the start-up and shut-down steps they fill. One object, built on the
// user-interface thread after COM is initialised (the dial-up control is a COM control).
#include "vigil/engine/activity_log.h"
#include "vigil/engine/check_cycle.h"
#include "vigil/engine/check_url.h"
#include "vigil/engine/connection_flags.h"
#include "vigil/engine/connection_modes.h"
#include "vigil/engine/site_list.h"
#include "vigil/engine/win32/ringer_dial_up_control.h"
#include "vigil/engine/win32/win32_clock_locale.h"
#include "vigil/engine/win32/win32_connection_flags.h"
#include "vigil/engine/win32/win32_dialogs.h"
#include "vigil/engine/win32/win32_file_system.h"
#include "vigil/engine/win32/win32_message_pump.h"
#include "vigil/engine/win32/wininet_transfer.h"
#include "vigil/forms/windows.h"
#include "vigil/notify/alerts.h"
#include "vigil/notify/emailer.h"
#include "vigil/notify/emailer_window.h"
#include "vigil/notify/reporting.h"
#include "vigil/notify/win32/registry_window_places.h"
#include "vigil/notify/win32/win32_mail_sender.h"
#include "vigil/notify/win32/win32_page_loader.h"
#include "vigil/notify/win32/win32_report_printer.h"
#include "vigil/notify/win32/win32_shell_opener.h"
#include "vigil/notify/win32/win32_sound_player.h"
#include "vigil/shell/life_cycle.h"
#include "vigil/shell/main_window_behaviour.h"
#include "vigil/shell/schedule.h"
#include "vigil/shell/settings_store.h"
#include "vigil/shell/win32/advapi32_registry_store.h"
#include "vigil/shell/win32/main_window.h"
#include "vigil/shell/win32/report_window.h"
#include "vigil/shell/win32/secondary_windows.h"
#include "vigil/shell/win32/sys_tray_window.h"
#include "vigil/shell/win32/win32_screen_metrics.h"
#include "vigil/shell/win32/win32_shell_ports.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

namespace vigil::shell::win32 {

// The settings store as the window behaviour and the life cycle reach it.
class StoreSettings final : public SettingsPort {
public:
    explicit StoreSettings(SettingsStore& store) : store_(store) {}
    void LoadSettings() override { store_.LoadSettings(); }
    void SaveSettings() override { store_.SaveSettings(); }
    std::string ReadLocaleSetting(const std::string& name) override {
        return store_.ReadLocaleSetting(name);
    }
    void AddRunEntry() override { store_.AddRunEntry(); }
    void RemoveRunEntry(const std::string& path) override { store_.RemoveRunEntry(path); }

private:
    SettingsStore& store_;
};

// The check cycle's view of the notification-area icon, which exists only from its place in
// the start-up and shows nothing once removed.
class LateTrayIcon final : public engine::CycleTray {
public:
    LateTrayIcon(std::optional<SysTrayWindow>& tray, IconLibrary& icons)
        : tray_(tray), icons_(icons) {}
    void SetToolTip(const std::string& text) override;
    void SetIcon(const std::string& iconName) override;

private:
    std::optional<SysTrayWindow>& tray_;
    IconLibrary& icons_;
};

// What the check cycle tells the user through: the e-mails, the sounds, the alert and error
// windows and the frequency files.
class AppNotifications final : public engine::CycleNotifications {
public:
    AppNotifications(notify::Emailer& emailer, notify::Alerts& alerts, notify::Reporting& reporting)
        : emailer_(emailer), alerts_(alerts), reporting_(reporting) {}
    void SendFailureNotification(const std::string& address, const std::string& verdict) override {
        emailer_.SendFailureNotification(address, verdict);
    }
    void SendRecoveryNotification(const std::string& address, const std::string& verdict) override {
        emailer_.SendRecoveryNotification(address, verdict);
    }
    void PlaySiteFailureSound(int failures) override { alerts_.PlaySiteFailureSound(failures); }
    void PlayNoConnectionSound() override { alerts_.PlayNoConnectionSound(); }
    void ShowAlert(const std::string& message) override { alerts_.ShowAlert(message); }
    void ShowErrorWindow() override { reporting_.ShowErrorWindow(); }
    void WriteFrequencyFiles() override { reporting_.WriteFrequencyFiles(); }

private:
    notify::Emailer& emailer_;
    notify::Alerts& alerts_;
    notify::Reporting& reporting_;
};

// Keyboard navigation of whichever of our dialogs the message is for.
bool DialogMessage(MSG& msg);

class VigilApp {
public:
    explicit VigilApp(HINSTANCE instance);
    ~VigilApp();
    VigilApp(const VigilApp&) = delete;
    VigilApp& operator=(const VigilApp&) = delete;

    // The start-up sequence, then the view /show:<view> names. False when another instance
    // runs: this one must end at once.
    bool Start(const std::string& commandLine);
    // The message loop, until the program ends.
    int Run();

private:
    LifeCycleSteps Steps();
    void CreateTrayIcon();
    void RemoveTrayIcon();
    void UnloadWindow(forms::Form& form);
    TrayActions MakeTrayActions();
    void OpenMainWindow();
    void Save() { store_.SaveSettings(); }

    HINSTANCE instance_;
    HICON icon_;
    forms::Windows windows_;

    // The settings and the site list.
    Advapi32RegistryStore registry_;
    Win32ScreenMetrics screen_;
    SettingsStore store_;
    StoreSettings settings_;
    engine::SiteList sites_;

    // The real windows, all hidden until their forms are shown.
    Win32Process process_;
    std::unique_ptr<LifeCycle> lifeCycle_;
    MainWindow mainWindow_;
    ReportWindow reportWindow_;
    SecondaryWindows otherWindows_;

    // The engine's platform: message pump, clock and locale, files, message boxes, and one
    // page transfer for each transfer control.
    engine::win32::Win32MessagePump pump_;
    engine::win32::Win32ClockLocale clock_;
    engine::win32::Win32FileSystem files_;
    engine::win32::Win32Dialogs dialogs_;
    engine::win32::WinInetTransfer siteTransfer_, connectionTransfer_, errorsTransfer_;
    engine::ActivityLog log_;
    engine::ResponseChecker checker_;

    // The main window's own behaviour.
    Win32FileOpenDialog fileDialog_;
    Win32ShellOpen shellOpen_;
    MainWindowBehaviour behaviour_;

    // The connection: its flags, the hosted dial-up control and the "Connection" page.
    engine::win32::Win32ConnectionFlags connectionFlags_;
    engine::CheckInternetConnectionModule connection_;
    engine::win32::RingerDialUpControl ringer_;
    engine::ConnectionModes connectionModes_;

    // The e-mails and their settings window.
    notify::win32::Win32MailSender mailSender_;
    notify::win32::Win32PageLoader pageLoader_;
    notify::Emailer emailer_;
    notify::EmailerWindow emailerWindow_;

    // The reporting side: sounds and the alert window, the frequency data, the status report,
    // the report and error windows and their places.
    notify::win32::Win32SoundPlayer soundPlayer_;
    notify::win32::Win32ShellOpener reportShell_;
    notify::win32::Win32ReportPrinter printer_;
    notify::win32::RegistryWindowPlaces places_;
    notify::Alerts alerts_;
    notify::Reporting reporting_;

    // The notification-area icon, made at its place in the start-up.
    Win32IconLibrary icons_;
    std::optional<SysTrayWindow> tray_;
    LateTrayIcon cycleTray_;

    // The check cycle and the schedule that starts it.
    AppNotifications notifications_;
    engine::CheckCycle cycle_;
    Scheduler scheduler_;
};

} // namespace vigil::shell::win32
