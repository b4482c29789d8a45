#pragma once
// The reporting side of the monitor, wired to the windows in one object: the frequency data and
// its files, "Status Report", "Status Check" and the uptime window, "Reset Status Data", the
// report window (save, print, clear, close, its layout), the error window (fetch and show,
// open in the browser, expand, OK), the main window's "Report" and the double click on
// monReport, and the remembered places of the three windows.
#include "vigil/engine/clock_locale.h"
#include "vigil/engine/dialogs.h"
#include "vigil/engine/file_system.h"
#include "vigil/engine/message_pump.h"
#include "vigil/forms/windows.h"
#include "vigil/notify/report_ports.h"
#include "vigil/notify/uptime_status.h"
#include "vigil/notify/window_places.h"

#include <string>
#include <vector>

namespace vigil::notify {

inline constexpr const char* kReportFilter = "Text (*.txt)|*.txt";
inline constexpr const char* kSaveReportFailed = "Error saving file...";
inline constexpr const char* kClearReportQuestion =
    "Are you sure you want to clear the report window?";
inline constexpr const char* kClearReportTitle = "Vigil - Report";
inline constexpr const char* kPleaseWait = "Please Wait...";

struct ReportingPorts {
    engine::FileSystem& files;
    engine::MessagePump& pump;
    const engine::ClockLocale& clock;
    engine::Dialogs& dialogs;
    ShellOpener& shell;
    ReportPrinter& printer;
    WindowPlaceStore& places;
    unsigned ansiCodePage = 1252; // of the RTF the report is saved as
};

// The report window's layout for an outer size of width x height twips, and the size it
// springs back to when it is smaller than its minimum.
void LayoutReportWindow(forms::frmReport& window);

class Reporting {
public:
    // Subscribes to every button and list it serves, and puts the three windows where they
    // were left.
    Reporting(forms::Windows& windows, const ReportingPorts& ports);
    Reporting(const Reporting&) = delete;
    Reporting& operator=(const Reporting&) = delete;

    // Start-up, after the settings: the counts saved last.
    void LoadFrequencyData();
    // The end of a check cycle (when "Record frequency data" is checked).
    void WriteFrequencyFiles();
    // The end of a check cycle with failures (when "Display Error Window" is checked).
    void ShowErrorWindow();

    // The buttons' handlers, also for the tests.
    void freqHTML_Click();  // "Status Report"
    void frequency_Click(); // "Status Check"
    void ResetFreq_Click(); // "Reset Status Data"
    void Command4_Click();  // "Report"
    void monReport_DblClick();
    void cmdSave_Click();     // "Save Report"
    void PrintReport_Click(); // "Print Report"
    void ClearReport_Click(); // "Clear Report"
    void errorList_Click();
    void errorList_DblClick();
    void Expand_Click();
    void OKButton_Click();

    UptimeStatus& Uptime() { return uptime_; }

private:
    forms::Windows& windows_;
    ReportingPorts ports_;
    UptimeStatus uptime_;
    RememberedPlace uptimePlace_;
    RememberedPlace reportPlace_;
    RememberedPlace errorsPlace_;
    std::vector<forms::Subscription> subscriptions_; // dropped with the object
};

} // namespace vigil::notify
