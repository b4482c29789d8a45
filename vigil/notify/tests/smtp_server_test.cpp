#include "vigil/notify/smtp_server.h"

#include <gtest/gtest.h>

using namespace vigil::notify;

namespace {

struct Case {
    std::string text;
    bool valid;
    std::string host;
    int port;
};

class SmtpServerTable : public ::testing::TestWithParam<Case> {};

TEST_P(SmtpServerTable, ParsesHostAndPort) {
    const Case& c = GetParam();
    const auto parsed = ParseSmtpServer(c.text);
    ASSERT_EQ(parsed.has_value(), c.valid) << c.text;
    if (c.valid) {
        EXPECT_EQ(parsed->host, c.host);
        EXPECT_EQ(parsed->port, c.port);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SmtpServerTable,
    ::testing::Values(Case{"mail.example.com", true, "mail.example.com", 25},
                      Case{"  mail.example.com  ", true, "mail.example.com", 25},
                      Case{"mail.example.com:2525", true, "mail.example.com", 2525},
                      Case{"127.0.0.1:1", true, "127.0.0.1", 1},
                      Case{"127.0.0.1:65535", true, "127.0.0.1", 65535},
                      Case{"[::1]", true, "::1", 25}, Case{"[::1]:587", true, "::1", 587},
                      Case{"", false, "", 0}, Case{"   ", false, "", 0}, Case{":25", false, "", 0},
                      Case{"mail:", false, "", 0}, Case{"mail:0", false, "", 0},
                      Case{"mail:65536", false, "", 0}, Case{"mail:99999999999", false, "", 0},
                      Case{"mail:-1", false, "", 0}, Case{"mail:2a", false, "", 0},
                      Case{"mail: 25", false, "", 0}, Case{"mail:25:26", false, "", 0},
                      Case{"mail host", false, "", 0}, Case{"mail\r\nRSET", false, "", 0},
                      Case{"[::1", false, "", 0}, Case{"[::1]x", false, "", 0},
                      Case{"[]:25", false, "", 0}));

} // namespace
