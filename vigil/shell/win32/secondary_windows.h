#pragma once
// The real windows of the monitor other than the main and the report window, each made from
// its dialog template and bound to its form by one table: Settings, errors, uptime,
// VigilEmailer, alertBox and splash. All are created hidden and shown when their form is.
#include "vigil/forms/win32/dialog_window.h"
#include "vigil/forms/windows.h"

namespace vigil::shell::win32 {

// A top-level dialog bound to a form from a table.
class FormDialog : public forms::win32::DialogWindow {
public:
    FormDialog(int templateId, forms::Form& form, HICON icon,
               const std::vector<forms::win32::BindingEntry>& table);
};

class SecondaryWindows {
public:
    SecondaryWindows(forms::Windows& windows, HICON icon);

    HWND Settings() const { return settings_.Handle(); }
    HWND Errors() const { return errors_.Handle(); }
    HWND Uptime() const { return uptime_.Handle(); }
    HWND Emailer() const { return emailer_.Handle(); }
    HWND Alert() const { return alert_.Handle(); }
    HWND Splash() const { return splash_.Handle(); }

private:
    FormDialog settings_;
    FormDialog errors_;
    FormDialog uptime_;
    FormDialog emailer_;
    FormDialog alert_;
    FormDialog splash_;
};

} // namespace vigil::shell::win32
