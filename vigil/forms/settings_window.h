#pragma once
// Hidden holder window of the dial-up state, shown only through "ViewInternal".
#include "vigil/forms/controls.h"

namespace vigil::forms {

struct Settings : Form {
    Settings() : Form("Settings", "Settings") {}

    TextBox dialState{"dialState"};               // text of the last dial-up event
    TextBox dialUpConnection{"dialUpConnection"}; // the entry the cycle dials and hangs up
};

} // namespace vigil::forms
