#pragma once
// The monitor's other windows, as far as the site list reaches into them.
#include "vigil/forms/controls.h"

namespace vigil::forms {

// Status graph window; its drop-down mirrors the site list.
struct uptime : Form {
    uptime() : Form("uptime", "Vigil - Uptime/Downtime status") {}

    ComboBox urlDropList{"urlDropList"};
};

// Per-site e-mail settings window; its drop-down mirrors the site list.
struct VigilEmailer : Form {
    VigilEmailer() : Form("VigilEmailer", "Vigil Email Configuration") {}

    ComboBox cboSiteList{"cboSiteList"};
};

// Hidden holder window of the dial-up state, shown only through "ViewInternal".
struct Settings : Form {
    Settings() : Form("Settings", "Settings") {}

    TextBox dialState{"dialState"};
    TextBox dialUpConnection{"dialUpConnection"};
};

} // namespace vigil::forms
