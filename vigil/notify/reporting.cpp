#include "vigil/notify/reporting.h"

#include "vigil/notify/frequency_data.h"
#include "vigil/notify/rtf_writer.h"
#include "vigil/notify/status_report.h"

namespace vigil::notify {

void LayoutReportWindow(forms::frmReport& window) {
    if (window.State() == forms::WindowState::Minimized)
        return;
    const double w = window.Place().width;
    const double h = window.Place().height;
    if (w <= 0 || h <= 0)
        return; // not laid out by the view yet
    forms::Bounds report = window.report.Place();
    report.width = w - 105;
    report.height = h - 1170;
    window.report.SetPlace(report);
    forms::Bounds frame = window.fraReport.Place();
    frame.top = h - 1125;
    frame.width = w - 105;
    window.fraReport.SetPlace(frame);
    forms::Bounds close = window.cmdClose.Place();
    close.left = frame.width - 1375;
    window.cmdClose.SetPlace(close);
    // Springing back raises the window's change again, which lays out at the new size.
    if (h < forms::kReportMinHeight)
        window.SetHeight(forms::kReportMinHeight);
    if (window.Place().width < forms::kReportMinWidth)
        window.SetWidth(forms::kReportMinWidth);
}

Reporting::Reporting(forms::Windows& windows, const ReportingPorts& ports)
    : windows_(windows), ports_(ports), uptime_(windows.uptimeWindow, windows.form1),
      uptimePlace_(windows.uptimeWindow, kUptimePlaceName, ports.places),
      reportPlace_(windows.reportWindow, kReportPlaceName, ports.places),
      errorsPlace_(windows.errorsWindow, kErrorsPlaceName, ports.places) {
    forms::Form1& f = windows_.form1;
    subscriptions_.push_back(f.freqHTML.Clicked.Subscribe([this] { freqHTML_Click(); }));
    subscriptions_.push_back(f.frequency.Clicked.Subscribe([this] { frequency_Click(); }));
    subscriptions_.push_back(f.ResetFreq.Clicked.Subscribe([this] { ResetFreq_Click(); }));
    subscriptions_.push_back(f.Command4.Clicked.Subscribe([this] { Command4_Click(); }));
    subscriptions_.push_back(f.monReport.DblClick.Subscribe([this] { monReport_DblClick(); }));

    forms::frmReport& r = windows_.reportWindow;
    subscriptions_.push_back(r.cmdSave.Clicked.Subscribe([this] { cmdSave_Click(); }));
    subscriptions_.push_back(r.Command1.Clicked.Subscribe([this] { PrintReport_Click(); }));
    subscriptions_.push_back(r.Command2.Clicked.Subscribe([this] { ClearReport_Click(); }));
    subscriptions_.push_back(
        r.cmdClose.Clicked.Subscribe([this] { windows_.reportWindow.Hide(); }));
    subscriptions_.push_back(
        r.StateChanged.Subscribe([this] { LayoutReportWindow(windows_.reportWindow); }));

    forms::errors& e = windows_.errorsWindow;
    subscriptions_.push_back(e.errorList.Click.Subscribe([this] { errorList_Click(); }));
    subscriptions_.push_back(e.errorList.DblClick.Subscribe([this] { errorList_DblClick(); }));
    subscriptions_.push_back(e.Expand.Clicked.Subscribe([this] { Expand_Click(); }));
    subscriptions_.push_back(e.OKButton.Clicked.Subscribe([this] { OKButton_Click(); }));
}

void Reporting::LoadFrequencyData() {
    notify::LoadFrequencyData(windows_.form1, ports_.files, ports_.pump);
}

void Reporting::WriteFrequencyFiles() {
    SaveFrequencyData(windows_.form1, ports_.files, ports_.pump);
}

void Reporting::ShowErrorWindow() {
    windows_.errorsWindow.Show();
}

void Reporting::freqHTML_Click() {
    const std::string text =
        StatusReportText(windows_.form1, ports_.clock.ShortDate(ports_.clock.Now()));
    // An unwritten report is not opened: the browser would show the last one as if current.
    if (ports_.files.WriteWholeFile(kStatusReportFile, text))
        ports_.shell.Open(kStatusReportFile, ShellOwner::MainWindow);
}

void Reporting::frequency_Click() {
    uptime_.updatelist();
    windows_.uptimeWindow.Show();
}

void Reporting::ResetFreq_Click() {
    ResetStatusData(windows_.form1, ports_.files, ports_.pump);
}

void Reporting::Command4_Click() {
    windows_.reportWindow.Show();
}

void Reporting::monReport_DblClick() {
    const forms::ListBox& list = windows_.form1.monReport;
    if (list.ListIndex() >= 0)
        ports_.shell.Open(list.List(list.ListIndex()), ShellOwner::MainWindow);
}

void Reporting::cmdSave_Click() {
    forms::CommonDialog& dlg = windows_.reportWindow.dlg;
    dlg.SetFilter(kReportFilter);
    dlg.SetFileName(ports_.dialogs.SaveFileName(dlg.Filter()));
    if (dlg.FileName().empty())
        return;
    const std::string rtf = TextToRtf(windows_.reportWindow.report.Text(), ports_.ansiCodePage);
    if (!ports_.files.WriteWholeFile(dlg.FileName(), rtf))
        ports_.dialogs.MsgBox(kSaveReportFailed, engine::kMsgBoxTitle, engine::MsgBoxButtons::Ok);
}

void Reporting::PrintReport_Click() {
    windows_.reportWindow.dlg.SetFlags(kPrintDialogFlags);
    if (!ports_.printer.ChoosePrinter(windows_.reportWindow.dlg.Flags()))
        return;
    ports_.printer.Print(windows_.reportWindow.report.Text());
}

void Reporting::ClearReport_Click() {
    if (ports_.dialogs.MsgBox(kClearReportQuestion, kClearReportTitle,
                              engine::MsgBoxButtons::OkCancel) == engine::MsgBoxResult::Ok)
        windows_.reportWindow.report.SetText({});
}

void Reporting::errorList_Click() {
    forms::errors& e = windows_.errorsWindow;
    if (e.errorList.ListIndex() < 0)
        return;
    const std::string address = e.errorList.List(e.errorList.ListIndex());
    // A choice made while a fetch still runs replaces it: the cancelled fetch fails and leaves
    // the display to the new one.
    if (e.Inet1.StillExecuting())
        e.Inet1.Cancel();
    e.errorDisplay.SetText(kPleaseWait);
    ports_.pump.DoEvents();
    try {
        e.errorDisplay.SetText(e.Inet1.OpenURL(address));
    } catch (const forms::InetError&) {
        // The display keeps what it showed last.
    }
}

void Reporting::errorList_DblClick() {
    const forms::ListBox& list = windows_.errorsWindow.errorList;
    if (list.ListIndex() >= 0)
        ports_.shell.Open(list.List(list.ListIndex()), ShellOwner::ErrorWindow);
}

void Reporting::Expand_Click() {
    forms::errors& e = windows_.errorsWindow;
    if (e.Place().height == forms::kErrorsExpandedHeight) {
        e.SetHeight(forms::kErrorsFoldedHeight);
        e.Expand.SetCaption(">");
    } else {
        e.SetHeight(forms::kErrorsExpandedHeight);
        e.Expand.SetCaption("<");
    }
}

void Reporting::OKButton_Click() {
    windows_.errorsWindow.errorDisplay.SetText(forms::kErrorDisplayHint);
    windows_.errorsWindow.Hide();
}

} // namespace vigil::notify
