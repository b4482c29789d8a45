// Execute against a server whose Content-Length is false: the body is sized from the length
// only up to a bound, so a length far beyond memory neither fails the request nor loses bytes,
// and a length below the body still gives the whole body.
#include "tests/ovhttpclient/ovhttp_test_support.h"

#include <winsock2.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

using namespace ovtest;

namespace {

// Answers one connection on 127.0.0.1 with `response` once the request's blank line arrived,
// then closes it.
class OneShotServer {
public:
    explicit OneShotServer(std::string response) : response_(std::move(response)) {
        WSADATA wsa;
        WSAStartup(MAKEWORD(2, 2), &wsa);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int size = sizeof a;
        if (bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
            listen(listener_, 1) == 0 &&
            getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &size) == 0)
            port_ = ntohs(a.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~OneShotServer() {
        closesocket(listener_); // ends an accept that never got a client
        thread_.join();
        WSACleanup();
    }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/false"; }

private:
    void Serve() {
        const SOCKET s = accept(listener_, nullptr, nullptr);
        if (s == INVALID_SOCKET)
            return;
        const DWORD limit = 10000; // never waits longer than the test
        setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&limit), sizeof limit);
        std::string request;
        char piece[1024];
        while (request.find("\r\n\r\n") == std::string::npos) {
            const int n = recv(s, piece, sizeof piece, 0);
            if (n <= 0)
                break;
            request.append(piece, n);
        }
        for (std::size_t sent = 0; sent < response_.size();) {
            const int n =
                send(s, response_.data() + sent,
                     static_cast<int>(std::min<std::size_t>(response_.size() - sent, 65536)), 0);
            if (n <= 0)
                break;
            sent += static_cast<std::size_t>(n);
        }
        shutdown(s, SD_SEND);
        closesocket(s);
    }

    std::string response_;
    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    std::thread thread_;
};

struct FalseLengthCase {
    const char* length;
    std::size_t bodySize;
};

TEST(ContentLength, AFalseLengthStillGivesTheWholeBody) {
    const FalseLengthCase cases[] = {
        {"99999999999999999999999", 5},  // beyond 64 bits
        {"1099511627776", 3 * 1024 + 1}, // 1 TiB: more than could ever be reserved
        {"4294967296", 5},               // 4 GiB: 0 when cut to 32 bits
        {"7", 2 * 1024 * 1024 + 3},      // less than arrives
    };
    for (const auto& c : cases) {
        std::string body(c.bodySize, '\0');
        for (std::size_t i = 0; i < body.size(); ++i)
            body[i] = static_cast<char>(i * 131 % 251);
        const std::string head =
            std::string("HTTP/1.0 200 OK\r\nContent-Length: ") + c.length + "\r\n";
        OneShotServer server("HTTP/1.0 200 OK\r\nContent-Length: " + std::string(c.length) +
                             "\r\n\r\n" + body);
        auto client = NewClient();
        ASSERT_TRUE(client);
        SetUrl(client.Get(), server.Url());
        ASSERT_EQ(Execute(client.Get(), "GET"), S_OK) << c.length;
        EXPECT_EQ(Status(client.Get()), "HTTP/1.0 200 OK") << c.length;
        EXPECT_EQ(Headers(client.Get()), head.substr(head.find("\r\n") + 2)) << c.length;
        const std::string received = Body(client.Get(), true);
        EXPECT_EQ(received.size(), body.size()) << c.length;
        EXPECT_TRUE(received == body) << c.length;
    }
}

} // namespace
