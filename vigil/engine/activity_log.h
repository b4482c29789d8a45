#pragma once
// The activity log: lines of text held in the report window's `report` field, rolled into a
// report file when the date changes, and written out after a check cycle.
#include "vigil/engine/clock_locale.h"
#include "vigil/engine/dialogs.h"
#include "vigil/engine/file_system.h"
#include "vigil/forms/rich_text.h"

#include <string>

namespace vigil::engine {

inline constexpr const char* kReportSaveFailed =
    "Error: Couldn't save Vigil report. Check Reports folder exists.";

// "reports\report- 07-12-2026.log": the daily roll and the save on quit.
std::string DailyReportName(const std::string& shortDate);
// "reports\report-07122026.log": the end of a check cycle and its aborts.
std::string CycleReportName(const std::string& shortDate);

class ActivityLog {
public:
    // The last log date starts as today's date, as start-up sets it.
    ActivityLog(forms::RichText& report, const ClockLocale& clock, FileSystem& files,
                Dialogs& dialogs);

    // Appends the text and CR LF, then rolls the log into the day's file when the date has
    // changed since the last line.
    void WriteLog(const std::string& text);

    // Start-up: the date the next line is compared with.
    void SetLastLogDate(const CalendarDate& date) { lastLogDate_ = date; }
    const CalendarDate& LastLogDate() const { return lastLogDate_; }

    // The cycle's report file, named after today; the log is kept. Failures are ignored.
    void SaveCycleReport();
    // The day's report file (as the daily roll names it), the log kept; false on failure.
    bool SaveDailyReport();

private:
    void Roll(const LocalTime& now);
    std::string FileContents() const { return report_.Text() + "\r\n"; }

    forms::RichText& report_;
    const ClockLocale& clock_;
    FileSystem& files_;
    Dialogs& dialogs_;
    CalendarDate lastLogDate_;
};

} // namespace vigil::engine
