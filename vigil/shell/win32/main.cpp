// Vigil.exe: builds the windows, wires their behaviour, runs the start-up sequence and the
// message loop.
#include "vigil/engine/activity_log.h"
#include "vigil/engine/check_url.h"
#include "vigil/engine/site_list.h"
#include "vigil/engine/win32/win32_clock_locale.h"
#include "vigil/engine/win32/win32_dialogs.h"
#include "vigil/engine/win32/win32_file_system.h"
#include "vigil/engine/win32/win32_message_pump.h"
#include "vigil/engine/win32/wininet_transfer.h"
#include "vigil/forms/windows.h"
#include "vigil/shell/life_cycle.h"
#include "vigil/shell/main_window_behaviour.h"
#include "vigil/shell/settings_store.h"
#include "vigil/shell/show_switch.h"
#include "vigil/shell/win32/advapi32_registry_store.h"
#include "vigil/shell/win32/control_ids.h"
#include "vigil/shell/win32/main_window.h"
#include "vigil/shell/win32/report_window.h"
#include "vigil/shell/win32/secondary_windows.h"
#include "vigil/shell/win32/win32_screen_metrics.h"
#include "vigil/shell/win32/win32_shell_ports.h"

#include <windows.h>

#include <commctrl.h>

namespace {

// The settings store as the window behaviour and the life cycle reach it.
class StoreSettings : public vigil::shell::SettingsPort {
public:
    explicit StoreSettings(vigil::shell::SettingsStore& store) : store_(store) {}
    void LoadSettings() override { store_.LoadSettings(); }
    void SaveSettings() override { store_.SaveSettings(); }
    std::string ReadLocaleSetting(const std::string& name) override {
        return store_.ReadLocaleSetting(name);
    }
    void AddRunEntry() override { store_.AddRunEntry(); }
    void RemoveRunEntry(const std::string& path) override { store_.RemoveRunEntry(path); }

private:
    vigil::shell::SettingsStore& store_;
};

// Keyboard navigation of whichever of our dialogs the message is for.
bool DialogMessage(MSG& msg) {
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    char className[16] = {};
    if (!root || !GetClassNameA(root, className, sizeof(className)) ||
        lstrcmpA(className, "#32770") != 0)
        return false;
    return IsDialogMessageA(root, &msg) != FALSE;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES |
                                              ICC_TAB_CLASSES | ICC_PROGRESS_CLASS |
                                              ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);

    using namespace vigil;
    forms::Windows windows;
    shell::win32::Advapi32RegistryStore registry;
    shell::win32::Win32ScreenMetrics screen;
    shell::SettingsStore store(windows, registry, screen);
    StoreSettings settings(store);
    engine::SiteList sites(windows, [&store] { store.SaveSettings(); });
    sites.BindButtons();

    // The real windows, all hidden until their forms are shown.
    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_VIGIL));
    shell::win32::Win32Process process;
    shell::LifeCycle* lifeCycle = nullptr;
    shell::win32::MainWindow mainWindow(windows.form1, icon, [&lifeCycle] {
        if (lifeCycle)
            lifeCycle->WindowCloseQuit();
    });
    shell::win32::ReportWindow reportWindow(windows.reportWindow, icon);
    shell::win32::SecondaryWindows otherWindows(windows, icon);
    process.SetMainWindow(mainWindow.Handle());

    // The platform behind the engine: message pump, clock and locale, files, message boxes,
    // and one page transfer for each transfer control.
    engine::win32::Win32MessagePump pump(DialogMessage);
    engine::win32::Win32ClockLocale clock;
    engine::win32::Win32FileSystem files;
    engine::win32::Win32Dialogs dialogs;
    dialogs.SetOwner(mainWindow.Handle());
    engine::win32::WinInetTransfer siteTransfer(pump), connectionTransfer(pump),
        errorsTransfer(pump);
    windows.form1.Inet1.Attach(&siteTransfer);
    windows.form1.Inet2.Attach(&connectionTransfer);
    windows.errorsWindow.Inet1.Attach(&errorsTransfer);
    engine::ActivityLog log(windows.reportWindow.report, clock, files, dialogs);
    // CheckUrl for the check cycle, which calls it for every site and the connection test.
    engine::ResponseChecker checker(windows.form1, pump, clock);

    shell::win32::Win32FileOpenDialog fileDialog;
    fileDialog.SetOwner(mainWindow.Handle());
    shell::win32::Win32ShellOpen shellOpen;
    shellOpen.SetOwner(mainWindow.Handle());
    shell::MainWindowBehaviour behaviour(windows.form1, settings, fileDialog, shellOpen, files);

    // The steps other parts of the program fill: the dial-up control and its entries, the
    // frequency data, the schedule's start-up path and the tray icon.
    shell::LifeCycleSteps steps;
    steps.fillDialUpEntries = [&sites] { sites.FinishLoad(); };
    shell::LifeCycle cycle(windows, settings, process, pump, log, clock, dialogs, steps);
    lifeCycle = &cycle;
    if (cycle.Load() == shell::LifeCycle::Start::SecondInstance)
        return 0;

    if (auto view = shell::ShowSwitch(commandLine ? commandLine : ""))
        shell::ShowView(windows, *view);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (DialogMessage(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
