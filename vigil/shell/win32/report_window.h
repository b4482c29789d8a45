#pragma once
// The report window frmReport: the activity log in a read-only rich edit control above a
// frame of four buttons. It can be resized down to the form's smallest size; the log fills what
// the frame leaves, the first three buttons keep their left edges and "Close Report" stays at
// the right edge. Created hidden; it is shown when its form is.
#include "vigil/forms/win32/dialog_window.h"
#include "vigil/forms/windows.h"

namespace vigil::shell::win32 {

class ReportWindow : public forms::win32::DialogWindow {
public:
    ReportWindow(forms::frmReport& form, HICON icon);

    HWND ReportBox() const { return GetDlgItem(Handle(), 1201); }

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void LayOut();

    forms::frmReport& form_;
};

} // namespace vigil::shell::win32
