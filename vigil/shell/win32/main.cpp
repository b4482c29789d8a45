// Vigil.exe: builds the windows, wires their behaviour and runs the message loop.
#include "vigil/engine/activity_log.h"
#include "vigil/engine/check_url.h"
#include "vigil/engine/site_list.h"
#include "vigil/engine/win32/win32_clock_locale.h"
#include "vigil/engine/win32/win32_dialogs.h"
#include "vigil/engine/win32/win32_file_system.h"
#include "vigil/engine/win32/win32_message_pump.h"
#include "vigil/engine/win32/wininet_transfer.h"
#include "vigil/forms/windows.h"
#include "vigil/shell/settings_store.h"
#include "vigil/shell/win32/advapi32_registry_store.h"
#include "vigil/shell/win32/control_ids.h"
#include "vigil/shell/win32/main_window.h"
#include "vigil/shell/win32/report_window.h"
#include "vigil/shell/win32/win32_screen_metrics.h"

#include <windows.h>

#include <commctrl.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES |
                                              ICC_TAB_CLASSES | ICC_PROGRESS_CLASS |
                                              ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);

    vigil::forms::Windows windows;
    vigil::shell::win32::Advapi32RegistryStore registry;
    vigil::shell::win32::Win32ScreenMetrics screen;
    vigil::shell::SettingsStore settings(windows, registry, screen);
    vigil::engine::SiteList sites(windows, [&settings] { settings.SaveSettings(); });
    sites.BindButtons();
    sites.FinishLoad();

    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_VIGIL));
    vigil::shell::MainWindow mainWindow(windows, icon, [] { PostQuitMessage(0); });
    vigil::shell::ReportWindow reportWindow(windows.reportWindow, icon);

    // The platform behind the engine: message pump, clock and locale, files, message boxes,
    // and one page transfer for each transfer control.
    vigil::engine::win32::Win32MessagePump pump(
        [&mainWindow](MSG& msg) { return IsDialogMessageA(mainWindow.Handle(), &msg) != FALSE; });
    vigil::engine::win32::Win32ClockLocale clock;
    vigil::engine::win32::Win32FileSystem files;
    vigil::engine::win32::Win32Dialogs dialogs;
    dialogs.SetOwner(mainWindow.Handle());
    vigil::engine::win32::WinInetTransfer siteTransfer(pump), connectionTransfer(pump),
        errorsTransfer(pump);
    windows.form1.Inet1.Attach(&siteTransfer);
    windows.form1.Inet2.Attach(&connectionTransfer);
    windows.errorsWindow.Inet1.Attach(&errorsTransfer);
    vigil::engine::ActivityLog log(windows.reportWindow.report, clock, files, dialogs);
    // CheckUrl for the check cycle, which calls it for every site and the connection test.
    vigil::engine::ResponseChecker checker(windows.form1, pump, clock);

    windows.form1.Show();

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageA(mainWindow.Handle(), &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
