#pragma once
// The sites that failed in the last check cycle, and a transfer control to fetch one of them.
// The window opens with its lower part (the display) folded away; Expand unfolds it.
#include "vigil/forms/controls.h"

namespace vigil::forms {

inline constexpr const char* kErrorDisplayHint =
    "Click a web address in the list above to view the error.";
inline constexpr double kErrorsFoldedHeight = 3555;   // twips
inline constexpr double kErrorsExpandedHeight = 6915; // twips

struct errors : Form {
    errors() : Form("errors", "Vigil - Errors") { SetHeight(kErrorsFoldedHeight); }

    Frame Frame1{"Frame1", "Warning"};
    Label lab{"lab", "The following web site(s) have produced an error, double-click an URL to "
                     "view the site:"};
    ListBox errorList{"errorList"};
    Button Expand{"Expand", ">"};
    Frame Frame2{"Frame2", "Error produced"};
    RichText errorDisplay{"errorDisplay", kErrorDisplayHint};
    Button OKButton{"OKButton", "OK"};
    Inet Inet1{"Inet1"};
};

} // namespace vigil::forms
