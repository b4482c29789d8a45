#include "vigil/notify/notification_text.h"

namespace vigil::notify {

namespace {

constexpr const char* kCrLf = "\r\n";

std::string OneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return line;
}

std::string Count(const std::string& entry) {
    return entry.empty() ? "0" : entry;
}

std::string PlainUptimeLine(const UptimeFigures& uptime) {
    return "Uptime : " + std::to_string(uptime.shares.up) + "% (" + uptime.up +
           ") - DownTime: " + std::to_string(uptime.shares.down) + "% (" + uptime.down + ")";
}

std::string HtmlHeader(std::string_view logoAddress, std::string_view title,
                       const MailMoment& moment) {
    std::string html = "<body text=#000000 leftmargin=10><table width=100% border=0 "
                       "cellpadding=10><tr><td width=16%><img src='";
    html += EscapeHtml(logoAddress);
    html += "'></td><td width=84%><div align=right><b><font size=5>";
    html += title;
    html += "<br><font size=2>";
    html +=
        EscapeHtml(moment.date) + " - " + EscapeHtml(moment.time) + "</b></div></td></tr></table>";
    return html;
}

std::string HtmlSiteHead(std::string_view site) {
    return "<br><table width=100% border=0 cellpadding=10 bgcolor=#99A637><tr><td><font "
           "face=arial size=3 color=#ffffff><b>Web Site : " +
           EscapeHtml(site) + "</b><br><hr><font size=2>";
}

std::string HtmlUptime(const UptimeFigures& uptime) {
    const std::string up = std::to_string(uptime.shares.up);
    const std::string down = std::to_string(uptime.shares.down);
    const std::string bar = "<table width=100% border=0 bordercolor=#000000><tr><td><table "
                            "width=100% border=0><tr><td bgcolor=#BBC47A width='" +
                            up + "%'>&nbsp; </td><td bgcolor=#FFA800 width='" + down +
                            "%'>&nbsp;</td></tr></table></td></table>";
    return "<br><font size=3><b>Activity History </b><br><hr><font size=2><br>" + bar +
           "<br><p><table align=left width=16 height=16><tr><td "
           "bgcolor=#BBC47A></td></tr></table><font face='Arial, Helvetica, sans - "
           "serif'>Uptime : " +
           up + "% (" + EscapeHtml(uptime.up) +
           ")<br><table align=left width=16 height=16><tr><td "
           "bgcolor=#FFA800></td></tr></table>DownTime: " +
           down + "% (" + EscapeHtml(uptime.down) + ")</p></font>";
}

std::string HtmlFooter() {
    return std::string("</tr></td></table><br><br><font face=arial size=2>") + kConfidentialityText;
}

std::string PlainFooter() {
    return std::string(kCrLf) + kCrLf + kCrLf + kConfidentialityText;
}

std::string PlainHead(const MailMoment& moment) {
    return "Vigil web site monitoring report - " + moment.date + " " + moment.time + kCrLf;
}

} // namespace

UptimeFigures MakeUptimeFigures(const std::string& upEntry, const std::string& downEntry) {
    UptimeFigures figures;
    figures.up = Count(upEntry);
    figures.down = Count(downEntry);
    figures.shares = ComputePercentages(CountFromText(upEntry), CountFromText(downEntry));
    return figures;
}

std::string EscapeHtml(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&#39;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string FailureSubject(std::string_view site) {
    return "Error : " + OneLine(site) + " has reported an error";
}

std::string RecoveryPlainSubject(std::string_view site) {
    return OneLine(site) + " is back online";
}

std::string RecoveryHtmlSubject(std::string_view site) {
    return OneLine(site) + " is now online";
}

std::string FailurePlainBody(const MailMoment& moment, std::string_view site,
                             std::string_view errorText,
                             const std::optional<UptimeFigures>& uptime) {
    std::string body = PlainHead(moment);
    body += "An error has been reported on " + std::string(site) + kCrLf + kCrLf;
    body += std::string("The error returned was: ") + kCrLf;
    body += std::string(errorText) + kCrLf + kCrLf;
    if (uptime)
        body += PlainUptimeLine(*uptime);
    return body + PlainFooter();
}

std::string RecoveryPlainBody(const MailMoment& moment, std::string_view site,
                              const std::optional<UptimeFigures>& uptime) {
    std::string body = PlainHead(moment);
    body +=
        "This web-site has been successfully verified and is back online : " + std::string(site) +
        kCrLf + kCrLf;
    if (uptime)
        body += PlainUptimeLine(*uptime);
    return body + PlainFooter();
}

std::string FailureHtmlBody(std::string_view logoAddress, const MailMoment& moment,
                            std::string_view site, std::string_view errorText,
                            const std::optional<UptimeFigures>& uptime) {
    std::string html = HtmlHeader(logoAddress, "Web-Site Failure Notification", moment);
    html += HtmlSiteHead(site) + "Error: " + EscapeHtml(errorText) + "<br><br>";
    if (uptime)
        html += HtmlUptime(*uptime);
    return html + HtmlFooter();
}

std::string RecoveryHtmlBody(std::string_view logoAddress, const MailMoment& moment,
                             std::string_view site, const std::optional<UptimeFigures>& uptime) {
    std::string html = HtmlHeader(logoAddress, "Web-Site Activation Notification", moment);
    html += HtmlSiteHead(site) +
            "This web-site has been successfully verified and is back online<br><br>";
    if (uptime)
        html += HtmlUptime(*uptime);
    return html + HtmlFooter();
}

} // namespace vigil::notify
