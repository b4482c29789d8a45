#include "vigil/notify/status_report.h"

#include "vigil/notify/frequency_data.h"

#include <charconv>
#include <cmath>

namespace vigil::notify {

namespace {

// The number a text starts with (spaces, a sign, digits, a fraction), 0 without one.
double LeadingNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    double sign = 1;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        sign = text.front() == '-' ? -1 : 1;
        text.remove_prefix(1);
    }
    double value = 0;
    std::size_t i = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10 + (text[i] - '0');
    if (i < text.size() && text[i] == '.') {
        double scale = 0.1;
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, scale /= 10)
            value += (text[i] - '0') * scale;
    }
    return sign * value;
}

std::string NumberText(double value) {
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        return std::to_string(static_cast<long long>(value));
    char text[32];
    auto [end, error] = std::to_chars(text, text + sizeof text, value);
    return error == std::errc() ? std::string(text, end) : std::string("0");
}

} // namespace

std::string HtmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string IntervalMinutesText(const forms::Form1& form1) {
    return NumberText(LeadingNumber(form1.intervalHours.Text()) * 60 +
                      LeadingNumber(form1.intervalMins.Text()));
}

std::vector<std::string> StatusReportLines(const forms::Form1& form1,
                                           const std::string& shortDate) {
    std::vector<std::string> lines;
    lines.push_back("<html><head><title>Vigil Status Report</title></head><body bgcolor=#FFFFFF "
                    "text=#000000>");
    lines.push_back("<p><font face='Arial, Helvetica, sans - serif'><b><font size=3>Vigil - "
                    "Uptime/Downtime Status Report</font></b><br>" +
                    HtmlEscape(shortDate) +
                    " - web sites verified every : " + IntervalMinutesText(form1) +
                    " mins </font></p><hr width=90% align=left size=1 noshade>");
    const int sites = form1.urlList.ListCount();
    for (int i = 0; i < sites; ++i) {
        const SiteShares s = SharesOf(form1.uptimeList.List(i), form1.downTimeList.List(i));
        const std::string up = std::to_string(s.upPercent);
        const std::string down = std::to_string(s.downPercent);
        lines.push_back("<table width=90% border=0 cellspacing=0 cellpadding=0><tr>");
        lines.push_back("<td><font face='Arial, Helvetica, sans-serif'>" +
                        HtmlEscape(form1.urlList.List(i)) + "</font><br>");
        lines.push_back("<table width=100% border=1 cellspacing=0 cellpadding=0 "
                        "bordercolor=#000000><tr><td><table width=100% border=0 cellspacing=0 "
                        "cellpadding=0><tr>");
        if (!s.HasData()) {
            lines.push_back("<td width='100%'><div align=center><font face='Arial, Helvetica, "
                            "sans-serif'>No Status Data Available</font></div></td>");
        } else {
            if (s.upPercent != 0)
                lines.push_back("<td bgcolor=#00FF00 width='" + up + "%'>&nbsp; </td>");
            if (s.downPercent != 0)
                lines.push_back("<td bgcolor=#FF0000 width='" + down + "%'>&nbsp;</td>");
        }
        lines.push_back("</tr></table></td></tr></table>");
        lines.push_back("<p><font face='Arial, Helvetica, sans - serif'>Uptime : " + up + "% (" +
                        std::to_string(s.up) + ")<br>DownTime: " + down + "% (" +
                        std::to_string(s.down) + ")</p></font></td></tr></table>");
        lines.push_back("<hr width=90% align=left size=1 noshade>");
    }
    lines.push_back("</body></html>");
    return lines;
}

std::string StatusReportText(const forms::Form1& form1, const std::string& shortDate) {
    std::string text;
    for (const std::string& line : StatusReportLines(form1, shortDate)) {
        text += line;
        text += "\r\n";
    }
    return text;
}

} // namespace vigil::notify
