#include "vigil/notify/url_encode.h"

#include <gtest/gtest.h>

using vigil::notify::UrlEncode;

namespace {

struct Case {
    std::string text;
    std::string encoded;
};

class UrlEncodeTable : public ::testing::TestWithParam<Case> {};

TEST_P(UrlEncodeTable, EncodesAsTheQueryNeeds) {
    EXPECT_EQ(UrlEncode(GetParam().text), GetParam().encoded);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UrlEncodeTable,
    ::testing::Values(Case{"a b/c.d", "a+b%2Fc%2Ed"}, Case{"x:8", "x%3A8"}, Case{"", ""},
                      Case{"AZaz09", "AZaz09"}, Case{"user@example.com", "user%40example%2Ecom"},
                      Case{"http://www.example.com/a?b=c&d",
                           "http%3A%2F%2Fwww%2Eexample%2Ecom%2Fa%3Fb%3Dc%26d"},
                      Case{"-_~*+%", "%2D%5F%7E%2A%2B%25"}, Case{"\t\n", "%09%0A"},
                      Case{std::string("\0\x7F", 2), "%00%7F"}, Case{"\xE9\xFF\x80", "%E9%FF%80"}));

TEST(UrlEncode, EveryByteIsKeptOnlyWhenItIsALetterOrDigit) {
    for (int byte = 0; byte < 256; ++byte) {
        const std::string encoded = UrlEncode(std::string(1, static_cast<char>(byte)));
        const bool alnum = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                           (byte >= '0' && byte <= '9');
        if (alnum)
            EXPECT_EQ(encoded, std::string(1, static_cast<char>(byte)));
        else if (byte == ' ')
            EXPECT_EQ(encoded, "+");
        else
            EXPECT_EQ(encoded.size(), 3u) << byte;
    }
}

} // namespace
