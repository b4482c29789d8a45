#include "vigil/notify/mail_message.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <random>

namespace vigil::notify {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";
constexpr std::size_t kQpLineLimit = 76; // characters of an encoded line, the "=" included

bool IsControl(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F;
}

std::string Base64(std::string_view bytes) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const std::uint32_t n = static_cast<unsigned char>(bytes[i]) << 16 |
                                static_cast<unsigned char>(bytes[i + 1]) << 8 |
                                static_cast<unsigned char>(bytes[i + 2]);
        for (int shift : {18, 12, 6, 0})
            out += kAlphabet[(n >> shift) & 0x3F];
    }
    if (i < bytes.size()) {
        std::uint32_t n = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size())
            n |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        out += kAlphabet[(n >> 18) & 0x3F];
        out += kAlphabet[(n >> 12) & 0x3F];
        out += i + 1 < bytes.size() ? kAlphabet[(n >> 6) & 0x3F] : '=';
        out += '=';
    }
    return out;
}

// Appends one line of text (without its line end) quoted-printable.
void EncodeLine(std::string_view line, std::string& out) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(line[i]);
        const bool last = i + 1 == line.size();
        const bool blank = byte == ' ' || byte == '\t';
        const bool literal = (byte >= 33 && byte <= 126 && byte != '=') || (blank && !last);
        const std::size_t size = literal ? 1 : 3;
        // Room is kept for the "=" of a soft break, unless this is the line's last piece.
        if (width + size > (last ? kQpLineLimit : kQpLineLimit - 1)) {
            out += "=\r\n";
            width = 0;
        }
        if (literal) {
            out += static_cast<char>(byte);
        } else {
            out += '=';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        }
        width += size;
    }
}

std::string_view DomainOf(std::string_view address) {
    const std::size_t at = address.rfind('@');
    if (at == std::string_view::npos || at + 1 == address.size())
        return "localhost";
    return address.substr(at + 1);
}

} // namespace

std::string HeaderText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        if (byte == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue; // a CR LF pair becomes one space, given by its LF
        out += IsControl(byte) && byte != '\t' ? ' ' : static_cast<char>(byte);
    }
    return out;
}

std::string CleanAddress(std::string_view address) {
    std::string out;
    for (char c : address) {
        if (!IsControl(static_cast<unsigned char>(c)))
            out += c;
    }
    const std::size_t first = out.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return out.substr(first, out.find_last_not_of(' ') - first + 1);
}

std::string EncodeSubject(std::string_view subject, std::string_view charset) {
    const std::string text = HeaderText(subject);
    bool plain = text.size() + sizeof("Subject: ") <= 998;
    for (char c : text)
        plain =
            plain && static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F;
    if (plain)
        return text;
    // Encoded words of at most 75 characters: "=?" charset "?B?" base64 "?=".
    const std::size_t room = charset.size() < 56 ? 68 - charset.size() : 12;
    const std::size_t chunk = room / 4 * 3;
    std::string out;
    for (std::size_t i = 0; i < text.size(); i += chunk) {
        if (i > 0)
            out += "\r\n ";
        out += "=?";
        out += charset;
        out += "?B?";
        out += Base64(std::string_view(text).substr(i, chunk));
        out += "?=";
    }
    return out;
}

std::string QuotedPrintable(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            EncodeLine(text.substr(start), out);
            break;
        }
        EncodeLine(text.substr(start, end - start), out);
        out += "\r\n";
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return out;
}

std::string MailDate(std::chrono::system_clock::time_point when) {
    using namespace std::chrono;
    static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const auto seconds = floor<std::chrono::seconds>(when);
    const auto day = floor<days>(seconds);
    const year_month_day date{day};
    const hh_mm_ss time{seconds - day};
    char text[64];
    std::snprintf(text, sizeof text, "%s, %u %s %d %02d:%02d:%02d +0000",
                  kDays[weekday{day}.c_encoding()], static_cast<unsigned>(date.day()),
                  kMonths[static_cast<unsigned>(date.month()) - 1], static_cast<int>(date.year()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return text;
}

std::string NewMessageId(std::string_view sender, std::chrono::system_clock::time_point when) {
    static std::atomic<std::uint32_t> serial{0};
    static const std::uint64_t run = [] {
        std::random_device device;
        return (static_cast<std::uint64_t>(device()) << 32) | device();
    }();
    char text[80];
    std::snprintf(
        text, sizeof text, "%llx.%llx.%x",
        static_cast<unsigned long long>(
            std::chrono::duration_cast<std::chrono::microseconds>(when.time_since_epoch()).count()),
        static_cast<unsigned long long>(run), static_cast<unsigned>(++serial));
    std::string domain = CleanAddress(DomainOf(CleanAddress(sender)));
    for (char& c : domain) {
        if (c == '<' || c == '>' || c == ' ' || c == '@')
            c = '-';
    }
    std::string id = "<";
    id.append(text).append("@").append(domain).append(">");
    return id;
}

std::string ComposeMessage(const MailMessage& message) {
    std::string out;
    out += "From: " + CleanAddress(message.from) + "\r\n";
    out += "To: ";
    bool first = true;
    for (const std::string& recipient : message.to) {
        if (!first)
            out += ",\r\n "; // one address a line keeps the header short
        out += CleanAddress(recipient);
        first = false;
    }
    out += "\r\n";
    out += "Subject: " + EncodeSubject(message.subject, message.charset) + "\r\n";
    out += "Date: " + HeaderText(message.date) + "\r\n";
    out += "Message-ID: " + HeaderText(message.messageId) + "\r\n";
    out += "MIME-Version: 1.0\r\n";
    out += std::string("Content-Type: ") +
           (message.type == BodyType::Html ? "text/html" : "text/plain") +
           "; charset=" + HeaderText(message.charset) + "\r\n";
    out += "Content-Transfer-Encoding: quoted-printable\r\n";
    out += "\r\n";
    out += QuotedPrintable(message.body);
    if (out.size() < 2 || out.compare(out.size() - 2, 2, "\r\n") != 0)
        out += "\r\n";
    return out;
}

} // namespace vigil::notify
