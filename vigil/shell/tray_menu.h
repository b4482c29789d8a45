#pragma once
// The main window's use of the notification-area icon: its eight menu items, what their keys
// do, the reaction to the mouse, the blinking while a check runs and the connection watch.
#include "vigil/forms/form1.h"
#include "vigil/shell/sys_tray.h"

#include <array>
#include <functional>
#include <string>

namespace vigil::shell {

// Port: the icon resources by name ("NORMAL", "BLANK", "GREEN", "YELLOW", "RED", "NOWEB").
class IconLibrary {
public:
    virtual ~IconLibrary() = default;
    virtual std::uintptr_t LoadIconResource(const std::string& name) = 0;
};

struct TrayMenuEntry {
    const char* caption;
    const char* key;
};
// In menu order; "-" is a separator and has no key.
inline constexpr std::array<TrayMenuEntry, 8> kTrayMenu = {{
    {"Open Vigil", "open"},
    {"Status Graph", "status"},
    {"Show Report", "report"},
    {"-", ""},
    {"Check Now", "check"},
    {"-", ""},
    {"Visit Vigil Web Site", "webSite"},
    {"Quit Vigil", "close"},
}};

// What the main window does for each menu key and for a double click on the icon.
struct TrayActions {
    std::function<void()> open, status, report, check, webSite, close;
    std::function<void()> doubleClick;
};

// Start-up: the menu (no item marked default, so "Open Vigil" stays bold), the tip "Vigil"
// and the "NORMAL" icon.
void SetUpTray(frmSysTray& tray, IconLibrary& icons);
// Subscribes the main window's handlers: a right button press shows the menu, a double click
// with either button runs doubleClick, a menu choice runs the action of its key.
void WireTrayEvents(frmSysTray& tray, TrayActions actions);
// MenuClick by key; any other key does nothing.
void RunTrayMenuKey(const std::string& sKey, const TrayActions& actions);

// One tick of tmrTray: shows "NORMAL" when iconState is anything else, otherwise the icon
// iconName names; iconState follows what is shown.
void TrayBlinkTick(frmSysTray& tray, IconLibrary& icons, const std::string& iconName,
                   std::string& iconState);
// One tick of the connection watch webCheck: with monitoring on, "NORMAL" while online and
// "NOWEB" otherwise; with it off, nothing (the flags are not even read).
void ConnectionWatchTick(frmSysTray& tray, IconLibrary& icons, bool monWeb,
                         const std::function<bool()>& isOnline);
// Runs tmrTray's blink on the labels iconName and iconState, and webCheck's watch on monWeb.
void BindTrayTimers(forms::Form1& form, frmSysTray& tray, IconLibrary& icons,
                    std::function<bool()> isOnline);

} // namespace vigil::shell
