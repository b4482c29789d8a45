// Vigil.exe: the common controls and COM for the hosted dial-up control, then the program's
// start-up and its message loop.
#include "vigil/shell/win32/vigil_app.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES |
                                              ICC_TAB_CLASSES | ICC_PROGRESS_CLASS |
                                              ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    // The dial-up control lives on this, the user-interface thread.
    HRESULT com = OleInitialize(nullptr);
    int result = 0;
    {
        vigil::shell::win32::VigilApp app(instance);
        if (app.Start(commandLine ? commandLine : ""))
            result = app.Run();
    }
    if (SUCCEEDED(com))
        OleUninitialize();
    return result;
}
