#include "vigil/shell/win32/secondary_windows.h"

#include "vigil/shell/win32/control_ids.h"

#include <stdexcept>

namespace vigil::shell::win32 {

using forms::win32::BindingEntry;
using forms::win32::Kind;

namespace {

int Prepare() {
    // Rich edit and the bars' window class must exist before a template uses them.
    static HMODULE richEdit = LoadLibraryA("riched20.dll");
    (void)richEdit;
    forms::win32::RegisterShapeClass();
    return IDD_SETTINGS;
}

// The uptime bars are placed in twips from the outline's place in the template, so the
// window's other controls may follow the dialog font while the bars keep their measures.
void BindBars(forms::win32::DialogWindow& window, forms::uptime& form) {
    HWND hwnd = window.Handle();
    RECT outline;
    GetWindowRect(GetDlgItem(hwnd, IDC_SHAPE1), &outline);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&outline), 2);
    POINT origin{outline.left - forms::win32::TwipsToPixels(form.Shape1.Place().left),
                 outline.top - forms::win32::TwipsToPixels(form.Shape1.Place().top)};
    window.Binding().BindShape(GetDlgItem(hwnd, IDC_SHAPE1), form.Shape1, origin);
    window.Binding().BindShape(GetDlgItem(hwnd, IDC_SHAPE3), form.Shape3, origin);
    window.Binding().BindShape(GetDlgItem(hwnd, IDC_UPTIMEBAR), form.uptimeBar, origin);
    // The green bar is drawn over the red one.
    SetWindowPos(GetDlgItem(hwnd, IDC_UPTIMEBAR), HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

} // namespace

FormDialog::FormDialog(int templateId, forms::Form& form, HICON icon,
                       const std::vector<BindingEntry>& table) {
    if (!Create(templateId))
        throw std::runtime_error("the window " + form.Name() + " could not be created");
    if (icon) {
        SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    Binding().BindTable(Handle(), table);
    BindForm(form);
}

SecondaryWindows::SecondaryWindows(forms::Windows& w, HICON icon)
    : settings_(Prepare(), w.settings, icon,
                {{IDC_DIALSTATE, w.settings.dialState, Kind::TextBox},
                 {IDC_DIALUPCONNECTION, w.settings.dialUpConnection, Kind::TextBox}}),
      errors_(IDD_ERRORS, w.errorsWindow, icon,
              {{IDC_ERRORS_FRAME1, w.errorsWindow.Frame1, Kind::Static},
               {IDC_LAB, w.errorsWindow.lab, Kind::Static},
               {IDC_ERRORLIST, w.errorsWindow.errorList, Kind::ListBox},
               {IDC_EXPAND, w.errorsWindow.Expand, Kind::Button},
               {IDC_ERRORS_FRAME2, w.errorsWindow.Frame2, Kind::Static},
               {IDC_ERRORDISPLAY, w.errorsWindow.errorDisplay, Kind::RichText},
               {IDC_OKBUTTON, w.errorsWindow.OKButton, Kind::Button}}),
      uptime_(IDD_UPTIME, w.uptimeWindow, icon,
              {{IDC_UPTIME_LABEL1, w.uptimeWindow.Label1, Kind::Static},
               {IDC_URLDROPLIST, w.uptimeWindow.urlDropList, Kind::ComboBox},
               {IDC_UP, w.uptimeWindow.Up, Kind::Static},
               {IDC_BARTEXT, w.uptimeWindow.barText, Kind::Static}}),
      emailer_(IDD_VIGILEMAILER, w.emailer, icon,
               {{IDC_EMAILER_FRAME1, w.emailer.Frame1, Kind::Static},
                {IDC_LABEL20, w.emailer.Label20, Kind::Static},
                {IDC_EMAILNOTIFY, w.emailer.emailNotify, Kind::ComboBox},
                {IDC_EMAILERCOMMENT, w.emailer.emailerComment, Kind::Static},
                {IDC_OK2, w.emailer.ok2, Kind::Button},
                {IDC_FRMEMAILSETTINGS, w.emailer.FrmemailSettings, Kind::Static},
                {IDC_LABEL13, w.emailer.Label13, Kind::Static},
                {IDC_EMAILADDRESS, w.emailer.EmailAddress, Kind::TextBox},
                {IDC_LABEL1, w.emailer.Label1, Kind::Static},
                {IDC_SMTPSERVER, w.emailer.smtpServer, Kind::TextBox},
                {IDC_CBOSITELIST, w.emailer.cboSiteList, Kind::ComboBox},
                {IDC_FRMSITE, w.emailer.frmSite, Kind::Static},
                {IDC_LBLLABEL14, w.emailer.lblLabel14, Kind::Static},
                {IDC_TXTEMAIL1, w.emailer.txtEmail1, Kind::TextBox},
                {IDC_LABEL14, w.emailer.Label14, Kind::Static},
                {IDC_TXTEMAIL2, w.emailer.txtEmail2, Kind::TextBox},
                {IDC_BTNEMAILAPPLY, w.emailer.btnEmailApply, Kind::Button},
                {IDC_EMAILER_COMMAND1, w.emailer.Command1, Kind::Button}}),
      alert_(IDD_ALERTBOX, w.alertWindow, icon,
             {{IDC_MESSAGE, w.alertWindow.message, Kind::Static},
              {IDC_ALERT_COMMAND1, w.alertWindow.Command1, Kind::Button}}),
      splash_(IDD_SPLASH, w.splashWindow, icon,
              {{IDC_IMAGE1, w.splashWindow.Image1, Kind::Panel},
               {IDC_LBLVERSION, w.splashWindow.lblVersion, Kind::Static}}) {
    BindBars(uptime_, w.uptimeWindow);
    uptime_.Binding().BindTimer(uptime_.Handle(), w.uptimeWindow.Timer1);
    splash_.Binding().BindTimer(splash_.Handle(), w.splashWindow.Timer1);
}

} // namespace vigil::shell::win32
