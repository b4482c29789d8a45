#pragma once
// The start-up splash: a picture and the version line; its timer closes it on the first tick.
#include "vigil/forms/controls.h"

namespace vigil::forms {

struct splash : Form {
    splash() : Form("splash", "Vigil") {}

    Image Image1{"Image1"};
    Label lblVersion{"lblVersion", "Version 1.6.5"}; // "Version " + Form1.version
    Timer Timer1{"Timer1", 2000, true};
};

} // namespace vigil::forms
