#pragma once
// The small alert window: one message of one or two lines and "Ok", which only hides it.
#include "vigil/forms/controls.h"

namespace vigil::forms {

struct alertBox : Form {
    alertBox() : Form("alertBox", "Vigil Alert") {}

    Label message{"message", "Vigil Error"};
    Button Command1{"Command1", "Ok"};
};

} // namespace vigil::forms
