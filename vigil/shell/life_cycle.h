#pragma once
// The program's life cycle: the start-up sequence of the main window, the minimise rule, and
// the two quit paths (closing the main window, and "Quit Vigil" in the tray menu), both of
// which refuse while a check cycle runs (lblQuit holds "NOQUIT").
#include "vigil/engine/activity_log.h"
#include "vigil/engine/clock_locale.h"
#include "vigil/engine/dialogs.h"
#include "vigil/engine/message_pump.h"
#include "vigil/forms/windows.h"
#include "vigil/shell/shell_ports.h"

#include <functional>

namespace vigil::shell {

inline constexpr const char* kBusy = "NOQUIT";
inline constexpr const char* kAboutFile = "about.txt";
inline constexpr const char* kLocalePath = "Path";
inline constexpr const char* kCheckingAlert =
    "Vigil is currently checking web sites.\r\nPlease wait until checking is complete";
inline constexpr const char* kCheckingMessage =
    "Vigil is Currently Checking Web Sites, please wait";

// The start-up and shut-down steps that other parts of the program provide; an empty one is
// skipped.
struct LifeCycleSteps {
    std::function<void()> bindDialUpControl; // the hosted dial-up control to its events
    std::function<void()> fillDialUpEntries; // ispListing from the dial-up control
    std::function<void()> loadFrequencyData;
    std::function<void()> startSchedule; // the scheduler's start-up path
    std::function<void()> createTrayIcon;
    std::function<void()> unloadTrayWindow; // the default tray window
    std::function<void()> removeTrayIcon;   // the icon object, which removes the icon
    // Unloads one window; the default hides it.
    std::function<void(forms::Form&)> unloadWindow;
};

class LifeCycle {
public:
    LifeCycle(forms::Windows& windows, SettingsPort& settings, ProcessPort& process,
              engine::MessagePump& pump, engine::ActivityLog& log, const engine::ClockLocale& clock,
              engine::Dialogs& dialogs, LifeCycleSteps steps);
    LifeCycle(const LifeCycle&) = delete;
    LifeCycle& operator=(const LifeCycle&) = delete;

    enum class Start { Running, SecondInstance };
    // The main window's load. SecondInstance: another instance runs and this one must end at
    // once; nothing has been shown.
    Start Load();

    // The close request of the main window; true when the program is ending.
    bool WindowCloseQuit();
    // "Quit Vigil"; true when the program is ending. It saves and ends at once, without
    // unloading the windows or writing the report, but it removes the icon.
    bool MenuQuit();

    const engine::CalendarDate& StartupDate() const { return startupDate_; }

private:
    void Form_Resize();
    void Unload(forms::Form& form);
    bool Busy() const { return windows_.form1.lblQuit.Caption() == kBusy; }

    forms::Windows& windows_;
    SettingsPort& settings_;
    ProcessPort& process_;
    engine::MessagePump& pump_;
    engine::ActivityLog& log_;
    const engine::ClockLocale& clock_;
    engine::Dialogs& dialogs_;
    LifeCycleSteps steps_;
    engine::CalendarDate startupDate_;
};

} // namespace vigil::shell
