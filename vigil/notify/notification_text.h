#pragma once
// The subjects and bodies of the failure and recovery e-mails. Pure functions of their inputs,
// so the exact texts are tested without a mail server.
#include "vigil/notify/percentages.h"

#include <optional>
#include <string>
#include <string_view>

namespace vigil::notify {

inline constexpr const char* kConfidentialityText =
    "The text contained within this email is confidential. If you are not the named recepient "
    "it could be unlawful for you to read, copy,distribute, disclose or use the information "
    "contained herewith.";

// A site's counts exactly as the frequency lists hold them and the shares computed from them.
struct UptimeFigures {
    std::string up;   // as stored (an empty entry shows as "0")
    std::string down; // as stored
    Percentages shares;
};

// The figures from the two list entries (empty counts as 0).
UptimeFigures MakeUptimeFigures(const std::string& upEntry, const std::string& downEntry);

// The moment a message is written, as the system's short date and time texts.
struct MailMoment {
    std::string date;
    std::string time;
};

// Text safe inside HTML: & < > " ' become references, so a site address that holds markup
// shows as text instead of changing the page.
std::string EscapeHtml(std::string_view text);

// Subjects. A CR or LF in the site address becomes a space: it must never start a header line.
std::string FailureSubject(std::string_view site);
std::string RecoveryPlainSubject(std::string_view site); // plain-text recovery message
std::string RecoveryHtmlSubject(std::string_view site);  // HTML recovery message

// Bodies; uptime is present when the uptime report is switched on.
std::string FailurePlainBody(const MailMoment& moment, std::string_view site,
                             std::string_view errorText,
                             const std::optional<UptimeFigures>& uptime);
std::string RecoveryPlainBody(const MailMoment& moment, std::string_view site,
                              const std::optional<UptimeFigures>& uptime);
std::string FailureHtmlBody(std::string_view logoAddress, const MailMoment& moment,
                            std::string_view site, std::string_view errorText,
                            const std::optional<UptimeFigures>& uptime);
std::string RecoveryHtmlBody(std::string_view logoAddress, const MailMoment& moment,
                             std::string_view site, const std::optional<UptimeFigures>& uptime);

} // namespace vigil::notify
