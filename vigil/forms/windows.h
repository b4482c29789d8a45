#pragma once
// Every window of the monitor, created once and alive for the whole run.
#include "vigil/forms/form1.h"
#include "vigil/forms/secondary_windows.h"

namespace vigil::forms {

struct Windows {
    Form1 form1;
    uptime uptimeWindow;
    VigilEmailer emailer;
    Settings settings;
    frmReport reportWindow;
    errors errorsWindow;
    alertBox alertWindow;
    splash splashWindow;
};

} // namespace vigil::forms
