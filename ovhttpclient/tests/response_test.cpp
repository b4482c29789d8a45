#include "ovhttpclient/library_status.h"
#include "ovhttpclient/response.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

using namespace ovhttp;

namespace {

// Feeds the text in pieces of at most `piece` bytes, the way the receive loop does.
ResponseAccumulator Feed(std::string_view text, std::size_t piece) {
    ResponseAccumulator r;
    while (!text.empty()) {
        const std::size_t n = std::min(piece, text.size());
        std::memcpy(r.Space(4096), text.data(), n);
        r.Commit(n);
        text.remove_prefix(n);
    }
    return r;
}

std::string BodyText(ResponseAccumulator& r) {
    auto body = r.TakeBody();
    return body ? std::string(reinterpret_cast<const char*>(body->data()), body->size()) : "<none>";
}

TEST(ResponseAccumulator, SplitsAtTheBlankLineWhateverThePieces) {
    const std::string body("ab\0cd\r\n\r\nef", 11);
    const std::string response = "HTTP/1.0 200 OK\r\nA: 1\r\nB: 2\r\n\r\n" + body;
    for (std::size_t piece : {1u, 2u, 3u, 5u, 4096u}) {
        ResponseAccumulator r = Feed(response, piece);
        EXPECT_TRUE(r.InBody()) << piece;
        EXPECT_EQ(r.Header(), "HTTP/1.0 200 OK\r\nA: 1\r\nB: 2\r\n") << piece;
        EXPECT_EQ(BodyText(r), body) << piece;
    }
}

TEST(ResponseAccumulator, PiecesAreSmallForTheHeadAndGrowWithTheBody) {
    ResponseAccumulator r;
    EXPECT_EQ(r.NextPieceSize(), 4096u);
    const std::string head = "HTTP/1.0 200 OK\r\n\r\n";
    std::memcpy(r.Space(4096), head.data(), head.size());
    r.Commit(head.size());
    EXPECT_EQ(r.NextPieceSize(), 4096u);
    const std::string piece(100000, 'b');
    std::memcpy(r.Space(piece.size()), piece.data(), piece.size());
    r.Commit(piece.size());
    EXPECT_EQ(r.NextPieceSize(), 100000u);
    for (int i = 0; i < 5; ++i) {
        std::memcpy(r.Space(piece.size()), piece.data(), piece.size());
        r.Commit(piece.size());
    }
    EXPECT_EQ(r.NextPieceSize(), 600000u);
    for (int i = 0; i < 20; ++i) {
        std::memcpy(r.Space(piece.size()), piece.data(), piece.size());
        r.Commit(piece.size());
    }
    EXPECT_EQ(r.NextPieceSize(), 1024u * 1024);
    EXPECT_EQ(r.TakeBody()->size(), 2600000u);
}

TEST(ByteBuffer, GrowsGeometricallyAndKeepsItsBytes) {
    ByteBuffer b;
    std::string expected;
    const std::uint8_t* last = nullptr;
    int moves = 0;
    for (int i = 0; i < 4096; ++i) {
        const std::string piece(1000, static_cast<char>('a' + i % 26));
        b.Append(piece.data(), piece.size());
        expected += piece;
        if (b.data() != last)
            ++moves;
        last = b.data();
    }
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data()), b.size()), expected);
    // 4 MB in 1000-byte pieces: a fixed step would move the bytes thousands of times.
    EXPECT_LE(moves, 13);
}

struct HeadSplitCase {
    std::string response;
    std::string header;
    std::string body;
};

TEST(ResponseAccumulator, TheFirstBlankLineEndsTheHeadWhateverThePieces) {
    const HeadSplitCase cases[] = {
        {"HTTP/1.0 200 OK\r\nA: 1\r\n\r\nX", "HTTP/1.0 200 OK\r\nA: 1\r\n", "X"},
        // A blank line at the very start: the head is its first CR LF, everything else is body.
        {"\r\n\r\nHTTP/1.0 200 OK\r\n\r\nbody", "\r\n", "HTTP/1.0 200 OK\r\n\r\nbody"},
        {"A\r\n\r\nB\r\n\r\nC", "A\r\n", "B\r\n\r\nC"},
        {"AB\r\n\r\n", "AB\r\n", ""},
    };
    for (const auto& c : cases)
        for (std::size_t piece : {1u, 2u, 3u, 4u, 5u, 4096u}) {
            ResponseAccumulator r = Feed(c.response, piece);
            EXPECT_EQ(r.Header(), c.header) << c.response << " in pieces of " << piece;
            EXPECT_EQ(BodyText(r), c.body) << c.response << " in pieces of " << piece;
        }
}

TEST(ResponseAccumulator, StatusLineOnlyGivesAnEmptyBody) {
    ResponseAccumulator r = Feed("HTTP/1.0 204 No Content\r\n\r\n", 4096);
    EXPECT_EQ(r.Header(), "HTTP/1.0 204 No Content\r\n");
    EXPECT_EQ(BodyText(r), "");
}

TEST(ResponseAccumulator, WithoutBlankLineEverythingStaysInTheHeader) {
    ResponseAccumulator r = Feed("HTTP/1.0 200 OK\r\nA: 1\r\n", 7);
    EXPECT_FALSE(r.InBody());
    EXPECT_EQ(r.Header(), "HTTP/1.0 200 OK\r\nA: 1\r\n");
    EXPECT_EQ(BodyText(r), "<none>");
}

TEST(ResponseAccumulator, ALongHeadWithoutBlankLineStaysInTheHeader) {
    // 4 MB of header lines in 4096-byte pieces, searched piece by piece.
    std::string head = "HTTP/1.0 200 OK\r\n";
    while (head.size() < 4 * 1024 * 1024)
        head += "X-Filler: 0123456789abcdef0123456789abcdef\r\n";
    ResponseAccumulator r = Feed(head, 4096);
    EXPECT_FALSE(r.InBody());
    EXPECT_EQ(r.Header().size(), head.size());
}

TEST(ResponseAccumulator, LargeBodyKeepsEveryByte) {
    std::string body(3 * 1024 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < body.size(); ++i)
        body[i] = static_cast<char>(i * 131 % 251);
    ResponseAccumulator r = Feed("HTTP/1.0 200 OK\r\n\r\n" + body, 4096);
    EXPECT_TRUE(BodyText(r) == body);
}

struct SplitCase {
    std::string buffer;
    std::string status;
    std::string headers;
};

TEST(ResponseHead, StatusLineAndHeaders) {
    const SplitCase cases[] = {
        {"HTTP/1.0 200 OK\r\nA: 1\r\nB: 2\r\n", "HTTP/1.0 200 OK", "A: 1\r\nB: 2\r\n"},
        {"HTTP/1.0 200 OK\r\n", "HTTP/1.0 200 OK", ""},
        // No CR LF at all: the status line is all but the last two bytes.
        {"HELLO WORLD", "HELLO WOR", ""},
        {"HTTP/1.1 404 Not Found\r\r\nX: y\r\n", "HTTP/1.1 404 Not Found\r", "X: y\r\n"},
        {"abcd\n\r\n", "abcd\n", ""},
    };
    for (const auto& c : cases) {
        const ResponseHead head = SplitResponseHead(c.buffer);
        EXPECT_EQ(head.status, c.status) << c.buffer;
        EXPECT_EQ(head.headers, c.headers) << c.buffer;
    }
}

TEST(LibraryStatus, ResultTypesMapToTheirCodeTexts) {
    const std::pair<int, const char*> cases[] = {
        {1, "HTTP/LIB 481 Windows Error Occurred"},
        {2, "HTTP/LIB 482 Winsock Error Occurred"},
        {3, "HTTP/LIB 483 Could Not Resolve Host"},
        {4, "HTTP/LIB 484 Could Not Resolve Service"},
        {5, "HTTP/LIB 485 Could Not Connect Socket"},
        {-1, "HTTP/LIB 463 Requested Operation Failed"},
        {0, "HTTP/LIB 463 Requested Operation Failed"},
        {6, "HTTP/LIB 463 Requested Operation Failed"},
    };
    for (const auto& [type, line] : cases)
        EXPECT_EQ(LibraryStatusLine(StatusCodeText(type)), line) << type;
    EXPECT_EQ(LibraryStatusLine(kStatusBadRequestUrl), "HTTP/LIB 461 Bad Request URL");
    EXPECT_EQ(LibraryStatusLine(kStatusTimeout), "HTTP/LIB 462 Timeout Period Elapsed");
}

} // namespace

struct ContentLengthCase {
    const char* head;
    std::optional<std::uint64_t> length;
};

TEST(ContentLength, ReadFromTheFirstContentLengthHeaderLine) {
    const ContentLengthCase cases[] = {
        {"HTTP/1.0 200 OK\r\nContent-Length: 1024\r\n", 1024},
        {"HTTP/1.0 200 OK\r\nA: 1\r\ncontent-LENGTH:\t 7\r\n", 7},
        {"HTTP/1.0 200 OK\r\nContent-Length:0\r\n", 0},
        {"HTTP/1.0 200 OK\r\nContent-Length: 5\r\nContent-Length: 9\r\n", 5},
        {"HTTP/1.0 200 OK\r\nContent-Length: 99999999999999999999999\r\n", UINT64_MAX},
        {"HTTP/1.0 200 OK\r\nContent-Length: 12abc\r\n", 12},
        {"HTTP/1.0 200 OK\r\nContent-Length: abc\r\n", std::nullopt},
        {"HTTP/1.0 200 OK\r\nContent-Length: -5\r\n", std::nullopt},
        {"HTTP/1.0 200 OK\r\nContent-Length:\r\n", std::nullopt},
        {"HTTP/1.0 200 OK\r\nX-Content-Length: 5\r\n", std::nullopt},
        {"Content-Length: 5\r\n", std::nullopt}, // the status line is no header line
        {"HTTP/1.0 200 OK\r\nContent-Len", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ContentLength(c.head), c.length) << c.head;
}

// Feeds a response the way the worker does: each piece as large as the accumulator asks for,
// and counts how often the body's bytes moved.
struct Fed {
    std::string body;
    std::size_t capacity = 0;
    int moves = 0;
};
Fed FeedAsAsked(std::string_view text) {
    ResponseAccumulator r;
    Fed fed;
    const char* last = nullptr;
    while (!text.empty()) {
        const std::size_t n = std::min(r.NextPieceSize(), text.size());
        const bool inBody = r.InBody();
        char* room = r.Space(r.NextPieceSize());
        if (inBody && last && room != last)
            ++fed.moves;
        std::memcpy(room, text.data(), n);
        r.Commit(n);
        text.remove_prefix(n);
        last = inBody ? room + n : nullptr;
    }
    // The receive that sees the end of the body: its room must not move the body either.
    if (r.InBody() && r.Space(r.NextPieceSize()) != last)
        ++fed.moves;
    auto body = r.TakeBody();
    if (body) {
        fed.body.assign(reinterpret_cast<const char*>(body->data()), body->size());
        fed.capacity = body->capacity();
    }
    return fed;
}

TEST(ResponseAccumulator, ABodyWithContentLengthArrivesInReservedRoomWithoutMoving) {
    std::string body(3 * 1024 * 1024 + 5, '\0');
    for (std::size_t i = 0; i < body.size(); ++i)
        body[i] = static_cast<char>(i * 7 % 253);
    const Fed fed = FeedAsAsked(
        "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body);
    EXPECT_EQ(fed.body, body);
    EXPECT_EQ(fed.moves, 0);
    EXPECT_LT(fed.capacity, body.size() + 64 * 1024);
}

struct FalseLengthCase {
    const char* length;
    std::size_t bodySize;
};

TEST(ResponseAccumulator, AFalseContentLengthReservesBoundedRoomAndTheBodyArrivesWhole) {
    const FalseLengthCase cases[] = {
        {"99999999999999999999999", 10},           // beyond 64 bits
        {"1099511627776", 10},                     // 1 TiB
        {"18446744073709551615", 3 * 1024 * 1024}, // the largest number, a body of some size
        {"10", 3 * 1024 * 1024 + 1},               // far less than arrives
        {"0", 100000},
    };
    for (const auto& c : cases) {
        std::string body(c.bodySize, '\0');
        for (std::size_t i = 0; i < body.size(); ++i)
            body[i] = static_cast<char>(i * 131 % 251);
        const Fed fed = FeedAsAsked(std::string("HTTP/1.0 200 OK\r\nContent-Length: ") + c.length +
                                    "\r\n\r\n" + body);
        EXPECT_EQ(fed.body, body) << c.length;
        EXPECT_LE(fed.capacity, std::max(kLargestBodyReservation, 2 * body.size()) + 4096)
            << c.length;
    }
}
