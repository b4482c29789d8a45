#pragma once
// The activity log's window; the log's text lives in report. The four buttons sit in a frame
// along the bottom edge (the first three at fixed left edges, "Close Report" at the right); the
// window is never smaller than kReportMinWidth x kReportMinHeight.
#include "vigil/forms/controls.h"

namespace vigil::forms {

inline constexpr double kReportMinWidth = 5565;  // twips
inline constexpr double kReportMinHeight = 2145; // twips

struct frmReport : Form {
    frmReport() : Form("frmReport", "Vigil Report") {
        cmdSave.SetPlace({120, 0, 0, 0});
        Command1.SetPlace({1440, 0, 0, 0});
        Command2.SetPlace({2760, 0, 0, 0});
    }

    RichText report{"report"};
    Frame fraReport{"fraReport", "Report"};
    Button cmdSave{"cmdSave", "Save Report"};
    Button Command1{"Command1", "Print Report"};
    Button Command2{"Command2", "Clear Report"};
    Button cmdClose{"cmdClose", "Close Report"};
    CommonDialog dlg{"dlg"}; // save and print
};

} // namespace vigil::forms
