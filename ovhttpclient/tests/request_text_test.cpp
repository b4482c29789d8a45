#include "ovhttpclient/request_text.h"

#include <gtest/gtest.h>

using namespace ovhttp;

namespace {

const std::string kUserAgent = "User-Agent: OvHttpClient/1.0b34\r\n";

struct UrlCase {
    std::optional<std::string> url;
    bool accepted;
};

TEST(RequestUrl, AcceptsOnlyPlainHttpWithAHost) {
    const UrlCase cases[] = {
        {std::nullopt, false},
        {"", false},
        {"http://", false},
        {"http://x", true},
        {"HTTP://EXAMPLE.COM/", true},
        {"hTtP://a/b", true},
        {"https://example.com/", false},
        {"ftp://example.com/", false},
        {"file:///c:/x", false},
        {"www.example.com", false},
        {" http://x", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsRequestUrlAccepted(c.url), c.accepted) << c.url.value_or("<absent>");
}

struct DestinationCase {
    std::string url;
    std::optional<std::string> proxy;
    std::int16_t proxyPort;
    Destination expected;
};

TEST(RequestDestination, SplitsTheUrlOrGoesThroughTheProxy) {
    const DestinationCase cases[] = {
        {"http://x", std::nullopt, 80, {"x", "80", "/"}},
        {"http://host:8080/a?b=1", std::nullopt, 80, {"host", "8080", "/a?b=1"}},
        {"HTTP://Host.Example/Path/%41?q", std::nullopt, 80, {"Host.Example", "80", "/Path/%41?q"}},
        {"http://host:http/", std::nullopt, 80, {"host", "http", "/"}},
        {"http://host:81", std::nullopt, 80, {"host", "81", "/"}},
        {"http://host:1234567890123/p", std::nullopt, 80, {"host", "123456789", "/p"}},
        {"http://host/a:b", std::nullopt, 80, {"host", "80", "/a:b"}},
        {"http://host?q=1", std::nullopt, 80, {"host?q=1", "80", "/"}},
        {"http://host:8080/a?b=1", std::string(""), 3128, {"host", "8080", "/a?b=1"}},
        {"http://host:8080/a?b=1",
         std::string("proxy"),
         3128,
         {"proxy", "3128", "http://host:8080/a?b=1"}},
        {"http://x", std::string("10.0.0.1"), -1, {"10.0.0.1", "-1", "http://x"}},
    };
    for (const auto& c : cases) {
        const Destination d = ChooseDestination(c.url, c.proxy, c.proxyPort);
        EXPECT_EQ(d.host, c.expected.host) << c.url;
        EXPECT_EQ(d.port, c.expected.port) << c.url;
        EXPECT_EQ(d.target, c.expected.target) << c.url;
    }
}

struct TextCase {
    std::string method;
    std::string target;
    std::optional<std::string> version;
    std::optional<std::string> headers;
    std::string expected;
};

TEST(RequestText, HasExactlyTheRequestLineTheHeadersAndTheBlankLine) {
    const TextCase cases[] = {
        {"GET", "/a?b=1", "HTTP/1.0", kUserAgent, "GET /a?b=1 HTTP/1.0\r\n" + kUserAgent + "\r\n"},
        {"GET", "http://host:8080/a?b=1", "HTTP/1.0", kUserAgent,
         "GET http://host:8080/a?b=1 HTTP/1.0\r\n" + kUserAgent + "\r\n"},
        {"GET", "/", "", kUserAgent, "GET /\r\n" + kUserAgent + "\r\n"},
        {"GET", "/", std::nullopt, std::nullopt, "GET /\r\n\r\n"},
        {"HEAD", "/", "HTTP/1.1", "", "HEAD / HTTP/1.1\r\n\r\n"},
        // Headers not ending in CR LF get one; shorter than 3 characters they are sent as given.
        {"POST", "/", "HTTP/1.0", "A: b", "POST / HTTP/1.0\r\nA: b\r\n\r\n"},
        {"POST", "/", "HTTP/1.0", "A: b\r\nC: d", "POST / HTTP/1.0\r\nA: b\r\nC: d\r\n\r\n"},
        {"POST", "/", "HTTP/1.0", "ab", "POST / HTTP/1.0\r\nab\r\n"},
        {"POST", "/", "HTTP/1.0", "\r\n", "POST / HTTP/1.0\r\n\r\n\r\n"},
        {"POST", "/", "HTTP/1.0", "A:\n", "POST / HTTP/1.0\r\nA:\n\r\n\r\n"},
        {"PUT", "/x", "HTTP/1.0", "A: b\r\n\r\n", "PUT /x HTTP/1.0\r\nA: b\r\n\r\n\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BuildRequestText(c.method, c.target, c.version, c.headers), c.expected)
            << c.method << " " << c.target << " headers " << c.headers.value_or("<absent>");
}

} // namespace
