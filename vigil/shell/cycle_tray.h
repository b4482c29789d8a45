#pragma once
// The check cycle's view of the notification-area icon: the main window's frmSysTray, with
// icons by resource name.
#include "vigil/engine/check_cycle_ports.h"
#include "vigil/shell/sys_tray.h"
#include "vigil/shell/tray_menu.h"

namespace vigil::shell {

class CycleTrayIcon : public engine::CycleTray {
public:
    CycleTrayIcon(frmSysTray& tray, IconLibrary& icons) : tray_(tray), icons_(icons) {}

    void SetToolTip(const std::string& text) override { tray_.SetToolTip(text); }
    // Each change loads the named resource afresh, as the blink does.
    void SetIcon(const std::string& iconName) override {
        tray_.SetIconHandle(icons_.LoadIconResource(iconName));
    }

private:
    frmSysTray& tray_;
    IconLibrary& icons_;
};

} // namespace vigil::shell
