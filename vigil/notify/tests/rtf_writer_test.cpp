#include "vigil/notify/rtf_writer.h"

#include <gtest/gtest.h>

namespace vigil::notify {
namespace {

const std::string kHead =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fmodern Courier New;}}\r\n\\f0\\fs20 ";

TEST(TextToRtf, EscapesAndParagraphs) {
    struct Case {
        const char* text;
        const char* body;
    } cases[] = {
        {"", ""},
        {"Web site checking started", "Web site checking started"},
        {"a\r\nb\r\n", "a\\par\r\nb\\par\r\n"},
        {"a\nb\rc", "a\\par\r\nb\\par\r\nc"},
        {"C:\\Vigil {x}", "C:\\\\Vigil \\{x\\}"},
        {"\tx", "\\tab x"},
        {"caf\xE9 \x80", "caf\\'e9 \\'80"},
        {"\\'e9", "\\\\'e9"}, // a literal escape stays literal
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextToRtf(c.text, 1252), kHead + c.body + "}\r\n") << c.text;
}

TEST(TextToRtf, NamesTheCodePageAndStaysSevenBit) {
    std::string rtf = TextToRtf("\xC0\xFF", 1251);
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1251\\", 0), 0u);
    for (char c : rtf)
        EXPECT_LT(static_cast<unsigned char>(c), 0x80);
}

} // namespace
} // namespace vigil::notify
