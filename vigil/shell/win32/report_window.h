#pragma once
// The report window: the activity log in a read-only rich edit control. Created hidden; it is
// shown when its form is.
#include "vigil/forms/windows.h"
#include "vigil/shell/win32/form_window.h"

namespace vigil::shell {

class ReportWindow {
public:
    ReportWindow(forms::frmReport& form, HICON icon);

    HWND Handle() const { return window_.Handle(); }
    HWND ReportBox() const { return report_; }

private:
    FormWindow window_;
    HWND report_ = nullptr;
};

} // namespace vigil::shell
