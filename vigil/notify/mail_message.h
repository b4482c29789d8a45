#pragma once
// One e-mail and its text on the wire (RFC 5322 with a MIME body).
//
// Both kinds of body, plain text and HTML, are sent quoted-printable: the HTML body is one
// long line and a plain-text line may be long too (an error text, a long address), and no
// line of a message may exceed 998 characters. Quoted-printable keeps every line at most 76
// characters and leaves ordinary text readable. Line ends of a body (CR LF, or a lone CR or
// LF) all become CR LF.
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace vigil::notify {

enum class BodyType { PlainText, Html };

struct MailMessage {
    std::string from;            // the sender's address, no display name
    std::vector<std::string> to; // the recipients' addresses
    std::string subject;
    std::string body;
    BodyType type = BodyType::PlainText;
    std::string charset = "windows-1252"; // the code page the texts are in
    std::string date;      // the Date header's value; the sender fills it in when empty
    std::string messageId; // "<...@...>"; the sender fills it in when empty
};

// A text fit for one header line: every CR, LF and other control character (tab aside)
// becomes a space, so nothing given to a header can start a header of its own.
std::string HeaderText(std::string_view text);

// An address fit for a header and for MAIL FROM / RCPT TO: control characters (CR and LF
// among them) are removed, spaces around it are dropped.
std::string CleanAddress(std::string_view address);

// The Subject header's value: as given when it is printable ASCII and fits on its line,
// otherwise as encoded words (RFC 2047, base64) on folded lines.
std::string EncodeSubject(std::string_view subject, std::string_view charset);

// Quoted-printable (RFC 2045): "=", bytes outside printable ASCII and white space at the end
// of a line are written as "=XX"; lines longer than 76 characters are broken with soft
// breaks ("=" at the end). Line ends of the text become CR LF (hard breaks).
std::string QuotedPrintable(std::string_view text);

// "Thu, 10 Dec 2026 13:10:40 +0000": the Date header's value for a moment, in UTC.
std::string MailDate(std::chrono::system_clock::time_point when);

// A new "<...@domain>" for the Message-ID header, unique within and across runs; the domain
// is that of the sender address (or "localhost" without one).
std::string NewMessageId(std::string_view sender, std::chrono::system_clock::time_point when);

// The whole message with its headers, every line ended by CR LF, before dot-stuffing.
std::string ComposeMessage(const MailMessage& message);

} // namespace vigil::notify
