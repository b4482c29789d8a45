#include "vigil/notify/mail_message.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vigil::notify;

namespace {

// The bytes quoted-printable stands for: soft breaks removed, "=XX" turned back.
std::string DecodeQuotedPrintable(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '=') {
            out += text[i];
        } else if (text.compare(i + 1, 2, "\r\n") == 0) {
            i += 2;
        } else {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        }
    }
    return out;
}

std::size_t LongestLine(const std::string& text) {
    std::size_t longest = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        longest = std::max(longest, end - start);
        start = end + 2;
    }
    return longest;
}

bool OnlyCrLfLineEnds(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            return false;
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))
            return false;
    }
    return true;
}

TEST(QuotedPrintable, AnHtmlLineLongerThan998CharactersComesBackWhole) {
    std::string html = "<body text=#000000 leftmargin=10><table width=100% border=0>";
    while (html.size() < 3000)
        html += "<tr><td bgcolor=#BBC47A width='75%'>&nbsp; </td></tr>";
    html += "caf\xE9 = ok ";
    const std::string encoded = QuotedPrintable(html);
    EXPECT_LE(LongestLine(encoded), 76u);
    EXPECT_TRUE(OnlyCrLfLineEnds(encoded));
    EXPECT_NE(encoded.find("=3D"), std::string::npos);
    EXPECT_NE(encoded.find("=E9"), std::string::npos);
    EXPECT_EQ(encoded.substr(encoded.size() - 3), "=20"); // white space ending a line
    EXPECT_EQ(DecodeQuotedPrintable(encoded), html);
}

TEST(QuotedPrintable, KeepsLineEndsAsCrLfAndShortTextAsItIs) {
    EXPECT_EQ(QuotedPrintable("Uptime : 75% (3)\r\nnext\nlast\rend"),
              "Uptime : 75% (3)\r\nnext\r\nlast\r\nend");
    EXPECT_EQ(QuotedPrintable("a=b\tc \r\n"), "a=3Db\tc=20\r\n");
    EXPECT_EQ(QuotedPrintable(""), "");
}

TEST(QuotedPrintable, EveryLineOfEveryLengthStaysWithinItsLimitAndDecodes) {
    for (std::size_t length = 70; length < 160; ++length) {
        for (char fill : {'a', '=', ' '}) {
            const std::string text(length, fill);
            const std::string encoded = QuotedPrintable(text);
            EXPECT_LE(LongestLine(encoded), 76u) << length << fill;
            EXPECT_EQ(DecodeQuotedPrintable(encoded), text) << length << fill;
        }
    }
}

TEST(HeaderText, NoLineBreakReachesAHeader) {
    EXPECT_EQ(HeaderText("Error : http://a\r\nBcc: x@y has reported an error"),
              "Error : http://a Bcc: x@y has reported an error");
    EXPECT_EQ(HeaderText("a\rb\nc\x01\td"), "a b c \td");
    EXPECT_EQ(CleanAddress(" ops@example.com\r\nRCPT TO:<x@y> "), "ops@example.comRCPT TO:<x@y>");
    EXPECT_EQ(CleanAddress("  \r\n "), "");
}

TEST(EncodeSubject, LongOrNonAsciiSubjectsBecomeEncodedWordsOnShortLines) {
    EXPECT_EQ(EncodeSubject("http://a.example is back online", "windows-1252"),
              "http://a.example is back online");
    EXPECT_EQ(EncodeSubject("caf\xE9", "windows-1252"), "=?windows-1252?B?Y2Fm6Q==?=");
    const std::string subject =
        "Error : http://example.com/" + std::string(1500, 'x') + " has reported an error";
    const std::string encoded = EncodeSubject(subject, "windows-1252");
    EXPECT_LE(LongestLine("Subject: " + encoded), 9u + 75u);
    std::size_t words = 0;
    for (std::size_t start = 0; start < encoded.size(); ++words) {
        std::size_t end = encoded.find("\r\n ", start);
        if (end == std::string::npos)
            end = encoded.size();
        const std::string word = encoded.substr(start, end - start);
        EXPECT_LE(word.size(), 75u);
        EXPECT_EQ(word.rfind("=?windows-1252?B?", 0), 0u) << word;
        EXPECT_EQ(word.substr(word.size() - 2), "?=");
        start = end + 3;
    }
    EXPECT_GE(words, subject.size() / 42);
    EXPECT_EQ(encoded.rfind("=?windows-1252?B?", 0), 0u);
}

TEST(MailDate, IsTheDateHeaderInUtc) {
    using namespace std::chrono;
    const sys_days day = year{2026} / December / 10;
    EXPECT_EQ(MailDate(day + hours{13} + minutes{10} + seconds{40}),
              "Thu, 10 Dec 2026 13:10:40 +0000");
    EXPECT_EQ(MailDate(sys_days{year{2000} / February / 29}), "Tue, 29 Feb 2000 00:00:00 +0000");
}

TEST(NewMessageId, IsUniqueAndAtTheSendersDomain) {
    const auto now = std::chrono::system_clock::now();
    const std::string first = NewMessageId("alerts@vigil.example", now);
    const std::string second = NewMessageId("alerts@vigil.example", now);
    EXPECT_NE(first, second);
    EXPECT_EQ(first.front(), '<');
    EXPECT_EQ(first.substr(first.size() - 15), "@vigil.example>");
    EXPECT_NE(NewMessageId("", now).find("@localhost>"), std::string::npos);
}

TEST(ComposeMessage, HtmlBodyIsQuotedPrintableTextHtmlWithinTheLineLimit) {
    MailMessage message;
    message.from = "alerts@vigil.example";
    message.to = {"ops@example.com"};
    message.subject = "http://a.example is now online";
    message.body = std::string(2000, 'h');
    message.type = BodyType::Html;
    message.date = "Thu, 10 Dec 2026 13:10:40 +0000";
    message.messageId = "<1@vigil.example>";
    const std::string text = ComposeMessage(message);
    EXPECT_NE(text.find("\r\nContent-Type: text/html; charset=windows-1252\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("\r\nContent-Transfer-Encoding: quoted-printable\r\n"), std::string::npos);
    EXPECT_LE(LongestLine(text), 998u);
    EXPECT_TRUE(OnlyCrLfLineEnds(text));
    EXPECT_EQ(DecodeQuotedPrintable(text.substr(text.find("\r\n\r\n") + 4)), message.body + "\r\n");
}

} // namespace
