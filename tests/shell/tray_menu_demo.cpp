// Shows the tray icon and its menu for a screenshot (tools/tray-screenshot.sh): adds the icon,
// changes its tip and its image, then right-clicks it through the shell's callback message,
// which opens the menu. After the given number of seconds the menu closes and the icon goes.
// Writes whether the shell accepted each request to the file named by the first argument.
#include "vigil/shell/win32/sys_tray_window.h"

#include <cstdlib>
#include <fstream>
#include <string>

using namespace vigil::shell;

namespace {
UINT g_seconds = 15;
std::string g_menuSeen = "no";

void CALLBACK NoteMenu(HWND, UINT, UINT_PTR id, DWORD) {
    if (FindWindowA("#32768", nullptr)) {
        g_menuSeen = "yes";
        KillTimer(nullptr, id);
    }
}
void CALLBACK Finish(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
    PostQuitMessage(0);
}
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const char* out = __argc > 1 ? __argv[1] : "tray-demo.txt";
    if (__argc > 2)
        g_seconds = static_cast<UINT>(std::atoi(__argv[2]));
    std::ofstream report(out, std::ios::trunc);

    SysTrayWindow window(LoadIconA(instance, "NORMAL"), "Vigil web site monitor");
    report << "add " << window.LastNotifySucceeded() << "\n";
    Win32IconLibrary icons(instance);
    SetUpTray(window.Tray(), icons);
    report << "tip " << window.LastNotifySucceeded() << "\n";
    window.Tray().SetIconHandle(icons.LoadIconResource("GREEN"));
    report << "icon " << window.LastNotifySucceeded() << "\n";
    report.flush();
    WireTrayEvents(window.Tray(), {});

    SetCursorPos(260, 150);
    SetTimer(nullptr, 0, 100, NoteMenu);
    SetTimer(nullptr, 0, g_seconds * 1000, Finish);
    // A right click: the press opens the menu, the release is reported after it.
    PostMessageA(window.Handle(), kTrayCallbackMessage, window.Tray().Record().uID, WM_RBUTTONDOWN);
    PostMessageA(window.Handle(), kTrayCallbackMessage, window.Tray().Record().uID, WM_RBUTTONUP);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    report << "menu " << g_menuSeen << "\n";
    window.Tray().Unload();
    report << "delete " << window.LastNotifySucceeded() << "\n";
    return 0;
}
