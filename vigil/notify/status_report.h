#pragma once
// The uptime/downtime status report: an HTML page of every site's shares, written to
// "Frequency.htm" and opened in the browser.
#include "vigil/forms/form1.h"

#include <string>
#include <string_view>
#include <vector>

namespace vigil::notify {

inline constexpr const char* kStatusReportFile = "Frequency.htm";

// Text made safe inside HTML: & < > " and ' become entities. A site address is typed by the
// user, so it must not be able to add markup to the page the browser opens.
std::string HtmlEscape(std::string_view text);

// The interval the report quotes: the number intervalHours starts with × 60 plus the number
// intervalMins starts with (a field without a number is 0), without trailing zeros ("65",
// "7.5").
std::string IntervalMinutesText(const forms::Form1& form1);

// The report's lines, without their line ends, for the sites of urlList in order; shortDate is
// today's date in the system's short form.
std::vector<std::string> StatusReportLines(const forms::Form1& form1, const std::string& shortDate);

// The whole file: every line followed by CR LF.
std::string StatusReportText(const forms::Form1& form1, const std::string& shortDate);

} // namespace vigil::notify
