#include "vigil/engine/activity_log.h"

namespace vigil::engine {

namespace {

std::string ReplaceDateSeparators(const std::string& date, const char* with) {
    std::string out;
    out.reserve(date.size());
    for (char c : date) {
        if (c == '/' || c == ':')
            out += with;
        else
            out += c;
    }
    return out;
}

} // namespace

std::string DailyReportName(const std::string& shortDate) {
    return "reports\\report- " + ReplaceDateSeparators(shortDate, "-") + ".log";
}

std::string CycleReportName(const std::string& shortDate) {
    return "reports\\report-" + ReplaceDateSeparators(shortDate, "") + ".log";
}

ActivityLog::ActivityLog(forms::RichText& report, const ClockLocale& clock, FileSystem& files,
                         Dialogs& dialogs)
    : report_(report), clock_(clock), files_(files), dialogs_(dialogs),
      lastLogDate_(clock.Now().Date()) {}

void ActivityLog::WriteLog(const std::string& text) {
    // Appending (not re-assigning the whole text) keeps a line's cost to its own length.
    report_.Append(text + "\r\n");
    report_.SetSelStart(report_.Text().size());

    const LocalTime now = clock_.Now();
    if (now.Date() != lastLogDate_)
        Roll(now);
}

void ActivityLog::Roll(const LocalTime& now) {
    // The date moves on even when the write fails, so the message shows once a day.
    lastLogDate_ = now.Date();
    std::string folder = files_.CurrentDirectory();
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    const std::string path = folder + DailyReportName(clock_.ShortDate(now));
    if (files_.WriteWholeFile(path, FileContents())) {
        report_.SetText({});
        return;
    }
    dialogs_.MsgBox(kReportSaveFailed, kMsgBoxTitle, MsgBoxButtons::Ok);
}

void ActivityLog::SaveCycleReport() {
    files_.WriteWholeFile(CycleReportName(clock_.ShortDate(clock_.Now())), FileContents());
}

bool ActivityLog::SaveDailyReport() {
    return files_.WriteWholeFile(DailyReportName(clock_.ShortDate(clock_.Now())), FileContents());
}

} // namespace vigil::engine
