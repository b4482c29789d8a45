// Execute against the local test server: the exact request bytes, the response split, and
// every status line of the library's own that can be produced on one machine.
#include "tests/ovhttpclient/ovhttp_test_support.h"

#include <gtest/gtest.h>

#include <functional>

using namespace ovtest;

namespace {

const std::string kUserAgent = "User-Agent: OvHttpClient/1.0b34\r\n";
const std::string kEchoHeaders = "Content-Type: application/octet-stream\r\nX-Test-Server: 1\r\n";

void PutText(IOvHttpClient* c, HRESULT (STDMETHODCALLTYPE IOvHttpClient::*put)(BSTR),
             const char* text) {
    if (!text) {
        (c->*put)(nullptr);
        return;
    }
    Bstr b = Bstr::FromAnsi(text);
    ASSERT_EQ((c->*put)(b.Get()), S_OK);
}

void PutBody(IOvHttpClient* c, const std::string& bytes, bool binary) {
    if (binary) {
        Variant v = ByteArray(bytes);
        ASSERT_EQ(c->put_RequestBody(*v.Get()), S_OK);
        return;
    }
    Variant v;
    v.Get()->vt = VT_BSTR;
    v.Get()->bstrVal = Bstr::FromAnsi(bytes).Detach();
    ASSERT_EQ(c->put_RequestBody(*v.Get()), S_OK);
}

struct RequestCase {
    const char* name;
    const char* method;
    std::string path;
    std::function<void(IOvHttpClient*)> setUp;
    std::string expected; // the bytes the server must receive
};

TEST(OvHttpClientExchange, SendsExactlyTheRequestBytes) {
    ASSERT_NE(ServerPort(), 0) << "run through run_with_server.py";
    std::string big(100 * 1024 + 3, 'x');
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i % 256);
    const std::string binary("\x00\x01\x02\r\n\r\n\xff", 8);
    const RequestCase cases[] = {
        {"defaults", "GET", "/echo/a?b=1", [](IOvHttpClient*) {},
         "GET /echo/a?b=1 HTTP/1.0\r\n" + kUserAgent + "\r\n"},
        {"method as given", "get", "/echo", [](IOvHttpClient*) {},
         "get /echo HTTP/1.0\r\n" + kUserAgent + "\r\n"},
        {"empty version", "GET", "/echo",
         [](IOvHttpClient* c) { PutText(c, &IOvHttpClient::put_HttpVersion, ""); },
         "GET /echo\r\n" + kUserAgent + "\r\n"},
        {"no headers", "GET", "/echo",
         [](IOvHttpClient* c) { PutText(c, &IOvHttpClient::put_RequestHeaders, nullptr); },
         "GET /echo HTTP/1.0\r\n\r\n"},
        {"headers without CR LF", "HEAD", "/echo",
         [](IOvHttpClient* c) { PutText(c, &IOvHttpClient::put_RequestHeaders, "X-A: 1"); },
         "HEAD /echo HTTP/1.0\r\nX-A: 1\r\n\r\n"},
        {"short headers", "GET", "/echo",
         [](IOvHttpClient* c) { PutText(c, &IOvHttpClient::put_RequestHeaders, "ab"); },
         "GET /echo HTTP/1.0\r\nab\r\n"},
        {"text body", "POST", "/echo",
         [](IOvHttpClient* c) {
             PutText(c, &IOvHttpClient::put_RequestHeaders, "Content-Length: 7\r\n");
             PutBody(c, "a=1&b=2", false);
         },
         "POST /echo HTTP/1.0\r\nContent-Length: 7\r\n\r\na=1&b=2"},
        {"binary body", "PUT", "/echo",
         [&](IOvHttpClient* c) {
             PutText(c, &IOvHttpClient::put_RequestHeaders, "Content-Length: 8");
             PutBody(c, binary, true);
         },
         "PUT /echo HTTP/1.0\r\nContent-Length: 8\r\n\r\n" + binary},
        {"large body in pieces", "POST", "/echo",
         [&](IOvHttpClient* c) {
             const std::string length = "Content-Length: " + std::to_string(big.size());
             PutText(c, &IOvHttpClient::put_RequestHeaders, length.c_str());
             PutBody(c, big, true);
         },
         "POST /echo HTTP/1.0\r\nContent-Length: " + std::to_string(big.size()) + "\r\n\r\n" + big},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto client = NewClient();
        c.setUp(client.Get());
        SetUrl(client.Get(), Url(c.path));
        ASSERT_EQ(Execute(client.Get(), c.method), S_OK);
        EXPECT_EQ(Status(client.Get()), "HTTP/1.0 200 OK");
        EXPECT_EQ(Headers(client.Get()), kEchoHeaders);
        EXPECT_TRUE(Body(client.Get(), true) == c.expected)
            << "received " << Body(client.Get(), true).size()
            << " bytes: " << Body(client.Get(), true).substr(0, 200);
    }
}

TEST(OvHttpClientExchange, ThroughAProxyTheRequestLineCarriesTheWholeUrl) {
    auto c = NewClient();
    PutText(c.Get(), &IOvHttpClient::put_ProxyAddress, "127.0.0.1");
    ASSERT_EQ(c->put_ProxyPort(static_cast<short>(ServerPort())), S_OK);
    SetUrl(c.Get(), "http://example.invalid:8080/echo/a?b=1");
    ASSERT_EQ(Execute(c.Get(), "GET"), S_OK);
    EXPECT_EQ(Status(c.Get()), "HTTP/1.0 200 OK");
    EXPECT_EQ(Body(c.Get(), true),
              "GET http://example.invalid:8080/echo/a?b=1 HTTP/1.0\r\n" + kUserAgent + "\r\n");
}

TEST(OvHttpClientExchange, BodiesAsBytesOrAsText) {
    auto c = NewClient();
    SetUrl(c.Get(), Url("/text"));
    ASSERT_EQ(Execute(c.Get(), "GET"), S_OK);
    EXPECT_EQ(Status(c.Get()), "HTTP/1.0 200 OK");
    EXPECT_EQ(Headers(c.Get()), "Content-Type: text/plain\r\nX-Test-Server: 1\r\n");
    EXPECT_EQ(Body(c.Get(), false), "Hello from the test server");
    EXPECT_EQ(Body(c.Get(), true), "Hello from the test server");

    std::string binary;
    for (int n = 0; n < 4; ++n)
        for (int i = 0; i < 256; ++i)
            binary += static_cast<char>(i);
    SetUrl(c.Get(), Url("/binary"));
    ASSERT_EQ(Execute(c.Get(), "GET"), S_OK);
    EXPECT_EQ(Body(c.Get(), true), binary);
    EXPECT_EQ(Body(c.Get(), false), ""); // the text ends at the first NUL byte

    std::string big(3 * 1024 * 1024 + 7, '\0');
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>((i * 131) % 251);
    SetUrl(c.Get(), Url("/big"));
    ASSERT_EQ(Execute(c.Get(), "GET"), S_OK);
    const std::string received = Body(c.Get(), true);
    EXPECT_EQ(received.size(), big.size());
    EXPECT_TRUE(received == big);
}

struct StatusCase {
    const char* name;
    std::function<void(IOvHttpClient*)> setUp;
    std::string status;
    std::string headers;
    std::string body; // binary
};

TEST(OvHttpClientExchange, ResponsesAndFailuresBecomeStatusLines) {
    const std::string closed = "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/";
    const StatusCase cases[] = {
        {"status line only", [](IOvHttpClient* c) { SetUrl(c, Url("/statusonly")); },
         "HTTP/1.0 204 No Content", "", ""},
        {"no CR LF at all", [](IOvHttpClient* c) { SetUrl(c, Url("/nocrlf")); }, "HELLO WOR", "",
         "<empty>"},
        {"not found", [](IOvHttpClient* c) { SetUrl(c, Url("/nothing")); },
         "HTTP/1.0 404 Not Found", "Content-Type: text/plain\r\n", "no such page"},
        {"no URL", [](IOvHttpClient* c) { c->put_RequestURL(nullptr); },
         "HTTP/LIB 461 Bad Request URL", "<null>", "<empty>"},
        {"secure scheme", [](IOvHttpClient* c) { SetUrl(c, "https://127.0.0.1/"); },
         "HTTP/LIB 461 Bad Request URL", "<null>", "<empty>"},
        {"other scheme", [](IOvHttpClient* c) { SetUrl(c, "ftp://127.0.0.1/"); },
         "HTTP/LIB 461 Bad Request URL", "<null>", "<empty>"},
        {"scheme only", [](IOvHttpClient* c) { SetUrl(c, "http://"); },
         "HTTP/LIB 461 Bad Request URL", "<null>", "<empty>"},
        {"too short for a status line", [](IOvHttpClient* c) { SetUrl(c, Url("/short")); },
         "HTTP/LIB 463 Requested Operation Failed", "<null>", "<empty>"},
        {"blank line before anything else, in a piece of its own",
         [](IOvHttpClient* c) { SetUrl(c, Url("/blankfirst")); },
         "HTTP/LIB 463 Requested Operation Failed", "<null>", "<empty>"},
        {"unknown host", [](IOvHttpClient* c) { SetUrl(c, "http://no-such-host.invalid/"); },
         "HTTP/LIB 483 Could Not Resolve Host", "<null>", "<empty>"},
        {"unknown service",
         [](IOvHttpClient* c) { SetUrl(c, "http://127.0.0.1:nosuchservicename/"); },
         "HTTP/LIB 484 Could Not Resolve Service", "<null>", "<empty>"},
        {"refused", [&](IOvHttpClient* c) { SetUrl(c, closed); },
         "HTTP/LIB 485 Could Not Connect Socket", "<null>", "<empty>"},
        {"server keeps the connection open",
         [](IOvHttpClient* c) {
             SetUrl(c, Url("/hang"));
             c->put_TimeOut(1);
         },
         "HTTP/LIB 462 Timeout Period Elapsed", "<null>", "<empty>"},
    };
    auto client = NewClient();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Each case starts after a good response, which must not linger.
        client->put_TimeOut(30);
        SetUrl(client.Get(), Url("/text"));
        ASSERT_EQ(Execute(client.Get(), "GET"), S_OK);
        ASSERT_EQ(Status(client.Get()), "HTTP/1.0 200 OK");

        c.setUp(client.Get());
        EXPECT_EQ(Execute(client.Get(), "GET"), S_OK);
        EXPECT_EQ(Status(client.Get()), c.status);
        Bstr headers;
        client->get_ResponseHeaders(headers.Put());
        EXPECT_EQ(headers.Get() ? Narrow(headers.Get()) : "<null>", c.headers);
        EXPECT_EQ(Body(client.Get(), true), c.body);
    }
}

TEST(OvHttpClientExchange, TimeOutZeroOrHugeWaitsUntilTheServerCloses) {
    // 536870912 s is 125 × 2^32 ms: it must not wrap round to no wait at all.
    for (LONG timeout : {0L, 536870912L, 2147483647L}) {
        SCOPED_TRACE(timeout);
        auto c = NewClient();
        ASSERT_EQ(c->put_TimeOut(timeout), S_OK);
        SetUrl(c.Get(), Url("/slow"));
        ASSERT_EQ(Execute(c.Get(), "GET"), S_OK);
        EXPECT_EQ(Status(c.Get()), "HTTP/1.0 200 OK");
        EXPECT_EQ(Body(c.Get(), true), "GET /slow HTTP/1.0\r\n" + kUserAgent + "\r\n");
    }
}

} // namespace
