#include "vigil/shell/win32/main_window.h"

#include "vigil/shell/win32/control_ids.h"

#include <commctrl.h>

#include <stdexcept>

namespace vigil::shell::win32 {

using forms::win32::BindingEntry;
using forms::win32::DialogWindow;
using forms::win32::Kind;

namespace {

// The controls of the main window and of its pages, by the id of their template.
std::vector<BindingEntry> Table(forms::Form1& f) {
    return {
        // On every page.
        {IDC_TABSTRIP1, f.TabStrip1, Kind::TabStrip},    {IDC_FRAME1, f.Frame1, Kind::Static},
        {IDC_LISTVIEW1, f.ListView1, Kind::ListView},    {IDC_WEBCOUNT, f.webCount, Kind::TextBox},
        {IDC_DOMAINTOADD, f.domainToAdd, Kind::TextBox}, {IDC_ADDDOMAIN, f.AddDomain, Kind::Button},
        {IDC_COMMAND1, f.Command1, Kind::Button},        {IDC_FRAME3, f.Frame3, Kind::Static},
        {IDC_COMMAND4, f.Command4, Kind::Button},        {IDC_COMMAND2, f.Command2, Kind::Button},
        {IDC_FREQUENCY, f.frequency, Kind::Button},      {IDC_FREQHTML, f.freqHTML, Kind::Button},
    };
}

struct Page {
    int templateId;
    forms::Control& frame; // the page's visibility
    std::vector<BindingEntry> controls;
};

std::vector<Page> Pages(forms::Form1& f) {
    return {
        {IDD_MONITORINGFRM,
         f.MonitoringFrm,
         {{IDC_MONITORINGFRM, f.MonitoringFrm, Kind::Static},
          {IDC_MONREPORT, f.monReport, Kind::ListBox},
          {IDC_STATUS, f.Status, Kind::TextBox},
          {IDC_PROGRESSBAR1, f.ProgressBar1, Kind::ProgressBar},
          {IDC_NEXTCK, f.NextCK, Kind::Static}}},
        {IDD_OPTIONSFRM,
         f.optionsFrm,
         {{IDC_OPTIONSFRM, f.optionsFrm, Kind::Static},
          {IDC_COMMAND6, f.Command6, Kind::PictureButton},
          {IDC_COMMAND7, f.Command7, Kind::PictureButton},
          {IDC_COMMAND8, f.Command8, Kind::PictureButton},
          {IDC_COMMAND9, f.Command9, Kind::PictureButton},
          {IDC_CONNECTIONURL, f.connectionUrl, Kind::TextBox}}},
        {IDD_FRMCONNECTION,
         f.frmConnection,
         {{IDC_FRMCONNECTION, f.frmConnection, Kind::Static},
          {IDC_LBLCONNECTIONTYPE, f.lblConnectionType, Kind::Static},
          {IDC_DIALTYPE, f.dialType, Kind::ComboBox},
          {IDC_DETECTCON, f.DetectCon, Kind::Button}}},
        {IDD_SCHEDULINGFRM,
         f.schedulingFrm,
         {{IDC_SCHEDULINGFRM, f.schedulingFrm, Kind::Static},
          {IDC_LBLINTERVAL, f.lblInterval, Kind::Static},
          {IDC_INTERVALHOURS, f.intervalHours, Kind::TextBox},
          {IDC_LBLHOURS, f.lblHours, Kind::Static},
          {IDC_INTERVALMINS, f.intervalMins, Kind::TextBox},
          {IDC_LBLMINS, f.lblMins, Kind::Static},
          {IDC_LBLNEXTCHECK, f.lblNextCheck, Kind::Static},
          {IDC_NEXTCHECK, f.nextCheck, Kind::TextBox},
          {IDC_SCHEDULE, f.Schedule, Kind::Button},
          {IDC_COMMAND3, f.Command3, Kind::Button},
          {IDC_APPLYSCH, f.ApplySch, Kind::Button},
          {IDC_STARTSCHEDULE, f.startschedule, Kind::CheckBox}}},
        {IDD_NOTIFYFRM,
         f.notifyFrm,
         {{IDC_NOTIFYFRM, f.notifyFrm, Kind::Static},
          {IDC_COMMAND5, f.Command5, Kind::Button},
          {IDC_LBLCONFIGUREHINT, f.lblConfigureHint, Kind::Static},
          {IDC_LBLEMAILMETHODS, f.lblEmailMethods, Kind::Static}}},
        {IDD_FRMABOUT,
         f.frmAbout,
         {{IDC_FRMABOUT, f.frmAbout, Kind::Static},
          {IDC_ABOUT, f.about, Kind::RichText},
          {IDC_LBLABOUTVERSION, f.lblAboutVersion, Kind::Static},
          {IDC_WEBLINK, f.webLink, Kind::PictureButton}}},
    };
}

std::vector<Page> SubPages(forms::Form1& f) {
    return {
        {IDD_FRMSETTINGSCON,
         f.frmSettingsCon,
         {{IDC_FRMSETTINGSCON, f.frmSettingsCon, Kind::Static},
          {IDC_CHKTRIGGERCON, f.chkTriggerCon, Kind::CheckBox},
          {IDC_ERRORWIN, f.errorWin, Kind::CheckBox},
          {IDC_CONNECTION, f.connection, Kind::CheckBox},
          {IDC_CHKHTTPSTATUS, f.chkHttpStatus, Kind::CheckBox}}},
        {IDD_FRMSETTINGSSTART,
         f.frmSettingsStart,
         {{IDC_FRMSETTINGSSTART, f.frmSettingsStart, Kind::Static},
          {IDC_STARTMIN, f.startmin, Kind::CheckBox},
          {IDC_WINDOWSSTART, f.windowsStart, Kind::CheckBox},
          {IDC_MONWEB, f.monWeb, Kind::CheckBox},
          {IDC_WINDOWSAPPLY, f.windowsApply, Kind::Button}}},
        {IDD_FRMSETTINGSREPORTING,
         f.frmSettingsReporting,
         {{IDC_FRMSETTINGSREPORTING, f.frmSettingsReporting, Kind::Static},
          {IDC_FREQENABLE, f.FreqEnable, Kind::CheckBox},
          {IDC_AUTOSAVEREPORTS, f.autoSaveReports, Kind::CheckBox},
          {IDC_EMAILONLINE, f.emailOnline, Kind::CheckBox},
          {IDC_HTMLEMAIL, f.htmlEmail, Kind::CheckBox},
          {IDC_UPTIMEEMAIL, f.uptimeEmail, Kind::CheckBox},
          {IDC_EXREPORT, f.exReport, Kind::CheckBox},
          {IDC_RESETFREQ, f.ResetFreq, Kind::Button}}},
        {IDD_FRMSETTINGSAUDIO,
         f.frmSettingsAudio,
         {{IDC_FRMSETTINGSAUDIO, f.frmSettingsAudio, Kind::Static},
          {IDC_LBLSITESOUNDS, f.lblSiteSounds, Kind::Static},
          {IDC_LBLSOUND1, f.lblSound1, Kind::Static},
          {IDC_SOUNDTOPLAY1, f.SoundToPlay1, Kind::TextBox},
          {IDC_BROWSE1, f.Browse1, Kind::Button},
          {IDC_LBLSOUND2, f.lblSound2, Kind::Static},
          {IDC_SOUNDTOPLAY2, f.SoundToPlay2, Kind::TextBox},
          {IDC_BROWSE3, f.Browse3, Kind::Button},
          {IDC_LBLSOUND3, f.lblSound3, Kind::Static},
          {IDC_SOUNDTOPLAY3, f.SoundToPlay3, Kind::TextBox},
          {IDC_BROWSE4, f.Browse4, Kind::Button},
          {IDC_LBLNOCONSOUND, f.lblNoConSound, Kind::Static},
          {IDC_NOCONSOUND, f.noConSound, Kind::TextBox},
          {IDC_BROWSE2, f.browse2, Kind::Button}}},
    };
}

std::vector<Page> ModeFrames(forms::Form1& f) {
    return {
        {IDD_FRMDIALUP,
         f.frmDialup,
         {{IDC_FRMDIALUP, f.frmDialup, Kind::Static},
          {IDC_ISPLISTING, f.ispListing, Kind::ComboBox},
          {IDC_SLIDER1, f.Slider1, Kind::Slider},
          {IDC_DIALRETRYS, f.dialRetrys, Kind::TextBox},
          {IDC_DIALUPDISCONNECT, f.DialUpDisconnect, Kind::CheckBox}}},
        {IDD_FRMPROXY,
         f.frmProxy,
         {{IDC_FRMPROXY, f.frmProxy, Kind::Static},
          {IDC_PROXYIP, f.proxyIP, Kind::TextBox},
          {IDC_PROXYPORT, f.proxyPort, Kind::TextBox}}},
        {IDD_FRMIE, f.frmIE, {{IDC_FRMIE, f.frmIE, Kind::Static}}},
    };
}

// Creates each page over parent, above its siblings, and binds it and its controls.
template <std::size_t N>
void CreatePages(std::array<DialogWindow, N>& windows, const std::vector<Page>& pages, HWND parent,
                 forms::win32::ControlBinding& binding) {
    for (std::size_t i = 0; i < N; ++i) {
        const Page& page = pages[i];
        HWND hwnd = windows[i].Create(page.templateId, parent, &binding, page.templateId);
        if (!hwnd)
            throw std::runtime_error("a page of the main window could not be created");
        SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        binding.BindTable(hwnd, page.controls);
        binding.BindPanel(hwnd, page.frame);
    }
}

} // namespace

MainWindow::MainWindow(forms::Form1& form, HICON icon, std::function<void()> onClose)
    : form_(form) {
    // The About text is a rich edit control, whose class lives in riched20.dll.
    static HMODULE richEdit = LoadLibraryA("riched20.dll");
    (void)richEdit;
    if (!Create(IDD_FORM1))
        throw std::runtime_error("the main window could not be created");
    OnClose(std::move(onClose));
    HWND hwnd = Handle();
    if (icon) {
        SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    auto& binding = Binding();
    binding.BindTable(hwnd, Table(form));
    CreatePages(pages_, Pages(form), hwnd, binding);
    CreatePages(subPages_, SubPages(form), Page(IDD_OPTIONSFRM), binding);
    CreatePages(modeFrames_, ModeFrames(form), Page(IDD_FRMCONNECTION), binding);
    if (icon)
        SendDlgItemMessageA(Page(IDD_FRMABOUT), IDC_WEBLINK, BM_SETIMAGE, IMAGE_ICON,
                            reinterpret_cast<LPARAM>(icon));
    for (forms::Timer* timer : {&form.Timer1, &form.tmrTray, &form.webCheck, &form.msTimer})
        binding.BindTimer(hwnd, *timer);
    BindForm(form);
}

HWND MainWindow::Page(int templateId) const {
    for (const auto* group : {&pages_[0], &subPages_[0], &modeFrames_[0]}) {
        std::size_t count = group == &pages_[0]      ? pages_.size()
                            : group == &subPages_[0] ? subPages_.size()
                                                     : modeFrames_.size();
        for (std::size_t i = 0; i < count; ++i)
            if (group[i].Handle() && GetWindowLongPtrA(group[i].Handle(), GWLP_ID) == templateId)
                return group[i].Handle();
    }
    return nullptr;
}

bool MainWindow::OnMessage(UINT msg, WPARAM wParam, LPARAM, INT_PTR& result) {
    if (msg == WM_SIZE) {
        // The form learns of the user's minimise and restore; what follows is behaviour.
        if (wParam == SIZE_MINIMIZED)
            form_.SetState(forms::WindowState::Minimized);
        else if (wParam == SIZE_RESTORED)
            form_.SetState(forms::WindowState::Normal);
        result = 0;
        return true;
    }
    return false;
}

} // namespace vigil::shell::win32
