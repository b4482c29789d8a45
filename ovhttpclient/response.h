#pragma once
// Collecting a response as it arrives and taking it apart into status line, headers and body.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ovhttp {

// A growable byte buffer that doubles its capacity when a piece does not fit and leaves the
// room for a piece uninitialised: a large body costs few copies and no clearing.
class ByteBuffer {
public:
    ByteBuffer() = default;
    ByteBuffer(const void* data, std::size_t size) { Append(data, size); }
    ByteBuffer(ByteBuffer&&) noexcept = default;
    ByteBuffer& operator=(ByteBuffer&&) noexcept = default;

    const std::uint8_t* data() const { return data_.get(); }
    std::size_t size() const { return size_; }
    std::size_t capacity() const { return capacity_; }
    bool empty() const { return size_ == 0; }
    // Room for at least `capacity` bytes in all, so that they arrive without a copy.
    void Reserve(std::size_t capacity);

    // Room for `count` more bytes at the end; Commit() says how many were written there.
    std::uint8_t* Space(std::size_t count);
    void Commit(std::size_t count) { size_ += count; }
    void Append(const void* data, std::size_t count);

private:
    std::unique_ptr<std::uint8_t[]> data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

// Offset of the first CR LF CR LF in the buffer at or after `from`.
std::optional<std::size_t> FindHeaderEnd(std::string_view buffer, std::size_t from = 0);

// The value of the first Content-Length header line of a head (status line and header lines),
// absent when there is none or its value is not a number; a number too large for 64 bits reads
// as the largest one.
std::optional<std::uint64_t> ContentLength(std::string_view head);

// The most that a Content-Length reserves for the body before it arrives: a false length costs
// no more than this, and a body longer than it still grows.
inline constexpr std::size_t kLargestBodyReservation = 64 * 1024 * 1024;

// Receives land straight in the buffer of the current phase: Space() before a receive,
// Commit() with the count received. Until the blank line is seen the bytes go to the header
// buffer; from then on to the body, which is sized from Content-Length when the head has one
// (up to kLargestBodyReservation) and otherwise grows geometrically.
class ResponseAccumulator {
public:
    // How much to ask for in the next receive: 4096 bytes while the head arrives; then the room
    // reserved for the body, in pieces of at most 1 MiB; past it, pieces that grow with the body,
    // so that a large body takes few receives and a small one stays small.
    std::size_t NextPieceSize() const;
    // Room for one piece of up to `size` bytes at the end of the current buffer.
    char* Space(std::size_t size);
    // Records `count` bytes received into the room given by Space().
    void Commit(std::size_t count);

    bool InBody() const { return body_.has_value(); }
    // The room the body has, 0 before it starts.
    std::size_t BodyCapacity() const { return body_ ? body_->capacity() : 0; }
    const std::string& Header() const { return header_; }
    // Status line and header lines, ending with the CR LF of the last header line.
    std::string TakeHeader() { return std::move(header_); }
    // Absent until the blank line was seen.
    std::optional<ByteBuffer> TakeBody() { return std::move(body_); }

private:
    std::string header_;
    std::size_t headerUsed_ = 0;
    std::optional<ByteBuffer> body_;
    std::size_t reserved_ = 0; // the body's capacity as reserved from Content-Length
};

struct ResponseHead {
    std::string status;
    std::string headers;
};

// Status line = text before the first CR LF (without one: all but the last 2 bytes);
// headers = the rest. For a header buffer of at least 5 bytes.
ResponseHead SplitResponseHead(std::string_view headerBuffer);

} // namespace ovhttp
