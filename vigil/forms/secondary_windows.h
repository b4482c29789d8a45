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

// The activity log's window; the log's text lives in report.
struct frmReport : Form {
    frmReport() : Form("frmReport", "Vigil Report") {}

    RichText report{"report"};
};

// The sites that failed in the last check cycle, and a transfer control to fetch one of them.
struct errors : Form {
    errors() : Form("errors", "Vigil - Errors") {}

    ListBox errorList{"errorList"};
    Inet Inet1{"Inet1"};
};

} // namespace vigil::forms
