#include "ovhttpclient/response.h"

#include <algorithm>
#include <cstring>

namespace ovhttp {

std::optional<std::size_t> FindHeaderEnd(std::string_view buffer, std::size_t from) {
    const std::size_t at = buffer.find("\r\n\r\n", from);
    if (at == std::string_view::npos)
        return std::nullopt;
    return at;
}

std::optional<std::uint64_t> ContentLength(std::string_view head) {
    constexpr std::string_view kName = "content-length:";
    // Header lines start after a CR LF; the status line is never one.
    for (std::size_t at = head.find("\r\n"); at != std::string_view::npos;
         at = head.find("\r\n", at)) {
        at += 2;
        if (head.size() - at < kName.size())
            return std::nullopt;
        bool match = true;
        for (std::size_t i = 0; i < kName.size() && match; ++i) {
            char c = head[at + i];
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
            match = c == kName[i];
        }
        if (!match)
            continue;
        std::size_t i = at + kName.size();
        while (i < head.size() && (head[i] == ' ' || head[i] == '\t'))
            ++i;
        if (i == head.size() || head[i] < '0' || head[i] > '9')
            return std::nullopt;
        std::uint64_t value = 0;
        for (; i < head.size() && head[i] >= '0' && head[i] <= '9'; ++i) {
            const unsigned digit = static_cast<unsigned>(head[i] - '0');
            if (value > (UINT64_MAX - digit) / 10)
                return UINT64_MAX;
            value = value * 10 + digit;
        }
        return value;
    }
    return std::nullopt;
}

void ByteBuffer::Reserve(std::size_t capacity) {
    if (capacity <= capacity_)
        return;
    std::unique_ptr<std::uint8_t[]> grown(new std::uint8_t[capacity]);
    if (size_)
        std::memcpy(grown.get(), data_.get(), size_);
    data_ = std::move(grown);
    capacity_ = capacity;
}

std::uint8_t* ByteBuffer::Space(std::size_t count) {
    if (capacity_ - size_ < count) {
        const std::size_t capacity = std::max(size_ + count, capacity_ * 2);
        std::unique_ptr<std::uint8_t[]> grown(new std::uint8_t[capacity]);
        if (size_)
            std::memcpy(grown.get(), data_.get(), size_);
        data_ = std::move(grown);
        capacity_ = capacity;
    }
    return data_.get() + size_;
}

void ByteBuffer::Append(const void* data, std::size_t count) {
    if (count == 0)
        return;
    std::memcpy(Space(count), data, count);
    Commit(count);
}

namespace {
constexpr std::size_t kHeadPiece = 4096;
constexpr std::size_t kLargestBodyPiece = 1024 * 1024;
} // namespace

std::size_t ResponseAccumulator::NextPieceSize() const {
    if (!body_)
        return kHeadPiece;
    // Room reserved from Content-Length is filled as it is: no piece makes the body grow
    // before it is full.
    const std::size_t spare = body_->capacity() - body_->size();
    if (body_->capacity() == reserved_ && spare >= kHeadPiece)
        return std::min(spare, kLargestBodyPiece);
    return std::clamp(body_->size(), kHeadPiece, kLargestBodyPiece);
}

char* ResponseAccumulator::Space(std::size_t size) {
    if (body_)
        return reinterpret_cast<char*>(body_->Space(size));
    // The head grows piece by piece, copying what it holds.
    header_.resize(headerUsed_ + size);
    return header_.data() + headerUsed_;
}

void ResponseAccumulator::Commit(std::size_t count) {
    if (body_) {
        body_->Commit(count);
        return;
    }
    // Earlier pieces held no blank line: only where the new bytes can complete one is searched,
    // so a long head costs linear time. The first blank line found is still the first one.
    // A head of 4 bytes or less was never searched, so its start is searched now.
    const std::size_t searchFrom = headerUsed_ > 4 ? headerUsed_ - 3 : 0;
    headerUsed_ += count;
    header_.resize(headerUsed_);
    if (header_.size() <= 4)
        return;
    if (const auto end = FindHeaderEnd(header_, searchFrom)) {
        // The blank line ends the head: what follows it is the start of the body, and the
        // header buffer keeps the CR LF of the last header line.
        const std::size_t start = header_.size() - (*end + 4);
        body_.emplace();
        if (const auto length = ContentLength(std::string_view(header_).substr(0, *end + 2))) {
            // One piece more than announced, so that the receive which sees the end of the
            // body needs no growth.
            const auto announced =
                static_cast<std::size_t>(std::min<std::uint64_t>(*length, kLargestBodyReservation));
            body_->Reserve(std::max(announced, start) + kHeadPiece);
            reserved_ = body_->capacity();
        }
        body_->Append(header_.data() + *end + 4, start);
        header_.resize(*end + 2);
        headerUsed_ = header_.size();
    }
}

ResponseHead SplitResponseHead(std::string_view headerBuffer) {
    ResponseHead head;
    const std::size_t lineEnd = headerBuffer.find("\r\n");
    if (lineEnd == std::string_view::npos) {
        head.status = std::string(headerBuffer.substr(0, headerBuffer.size() - 2));
        return head;
    }
    head.status = std::string(headerBuffer.substr(0, lineEnd));
    head.headers = std::string(headerBuffer.substr(lineEnd + 2));
    return head;
}

} // namespace ovhttp
