#include "vigil/shell/tray_menu.h"

namespace vigil::shell {

void SetUpTray(frmSysTray& tray, IconLibrary& icons) {
    for (const auto& entry : kTrayMenu)
        tray.AddMenuItem(entry.caption, entry.key, false);
    tray.SetToolTip("Vigil");
    tray.SetIconHandle(icons.LoadIconResource("NORMAL"));
}

void RunTrayMenuKey(const std::string& sKey, const TrayActions& actions) {
    const std::pair<const char*, const std::function<void()>*> table[] = {
        {"open", &actions.open},   {"status", &actions.status},   {"report", &actions.report},
        {"check", &actions.check}, {"webSite", &actions.webSite}, {"close", &actions.close},
    };
    for (const auto& [key, action] : table)
        if (sKey == key) {
            if (*action)
                (*action)();
            return;
        }
}

void WireTrayEvents(frmSysTray& tray, TrayActions actions) {
    tray.SysTrayMouseDown.Add([&tray](int eButton) {
        if (eButton == 2)
            tray.ShowMenu();
    });
    tray.SysTrayDoubleClick.Add([doubleClick = actions.doubleClick](int) {
        if (doubleClick)
            doubleClick();
    });
    tray.MenuClick.Add([actions = std::move(actions)](int, const std::string& sKey) {
        RunTrayMenuKey(sKey, actions);
    });
}

void TrayBlinkTick(frmSysTray& tray, IconLibrary& icons, const std::string& iconName,
                   std::string& iconState) {
    if (iconState != "NORMAL") {
        tray.SetIconHandle(icons.LoadIconResource("NORMAL"));
        iconState = "NORMAL";
    } else {
        tray.SetIconHandle(icons.LoadIconResource(iconName));
        iconState = iconName;
    }
}

void ConnectionWatchTick(frmSysTray& tray, IconLibrary& icons, bool monWeb,
                         const std::function<bool()>& isOnline) {
    if (!monWeb)
        return;
    tray.SetIconHandle(icons.LoadIconResource(isOnline() ? "NORMAL" : "NOWEB"));
}

void BindTrayTimers(forms::Form1& form, frmSysTray& tray, IconLibrary& icons,
                    std::function<bool()> isOnline) {
    form.tmrTray.Elapsed.Add([&form, &tray, &icons] {
        std::string state = form.iconState.Caption();
        TrayBlinkTick(tray, icons, form.iconName.Caption(), state);
        form.iconState.SetCaption(state);
    });
    form.webCheck.Elapsed.Add([&form, &tray, &icons, isOnline = std::move(isOnline)] {
        ConnectionWatchTick(tray, icons, form.monWeb.Checked(), isOnline);
    });
}

} // namespace vigil::shell
