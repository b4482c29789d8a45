#pragma once
// Collecting a response as it arrives and taking it apart into status line, headers and body.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ovhttp {

// Offset of the first CR LF CR LF in the buffer, searched from the start.
std::optional<std::size_t> FindHeaderEnd(std::string_view buffer);

// Receives land straight in the buffer of the current phase: Space() before a receive,
// Commit() with the count received. Until the blank line is seen the bytes go to the header
// buffer; from then on to the body, which grows geometrically.
class ResponseAccumulator {
public:
    // Room for one piece of up to `size` bytes at the end of the current buffer.
    char* Space(std::size_t size);
    // Records `count` bytes received into the room given by Space().
    void Commit(std::size_t count);

    bool InBody() const { return body_.has_value(); }
    const std::string& Header() const { return header_; }
    // Status line and header lines, ending with the CR LF of the last header line.
    std::string TakeHeader() { return std::move(header_); }
    // Absent until the blank line was seen.
    std::optional<std::vector<std::uint8_t>> TakeBody() { return std::move(body_); }

private:
    std::string header_;
    std::size_t headerUsed_ = 0;
    std::optional<std::vector<std::uint8_t>> body_;
    std::size_t bodyUsed_ = 0;
};

struct ResponseHead {
    std::string status;
    std::string headers;
};

// Status line = text before the first CR LF (without one: all but the last 2 bytes);
// headers = the rest. For a header buffer of at least 5 bytes.
ResponseHead SplitResponseHead(std::string_view headerBuffer);

} // namespace ovhttp
