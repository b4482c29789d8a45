// Vigil.exe: builds the windows, wires their behaviour and runs the message loop.
#include "vigil/engine/site_list.h"
#include "vigil/forms/windows.h"
#include "vigil/shell/win32/control_ids.h"
#include "vigil/shell/win32/main_window.h"

#include <windows.h>

#include <commctrl.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES |
                                              ICC_TAB_CLASSES | ICC_PROGRESS_CLASS |
                                              ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);

    vigil::forms::Windows windows;
    // The settings store fills this hook; until then a change is kept only in the controls.
    vigil::engine::SiteList sites(windows, [] {});
    sites.BindButtons();
    sites.FinishLoad();

    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_VIGIL));
    vigil::shell::MainWindow mainWindow(windows, icon, [] { PostQuitMessage(0); });
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
