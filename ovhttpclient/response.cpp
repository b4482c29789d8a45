#include "ovhttpclient/response.h"

#include <cstring>

namespace ovhttp {

std::optional<std::size_t> FindHeaderEnd(std::string_view buffer) {
    const std::size_t at = buffer.find("\r\n\r\n");
    if (at == std::string_view::npos)
        return std::nullopt;
    return at;
}

namespace {

// Doubles the capacity when a piece does not fit, so a large body costs few copies.
template <typename Buffer> char* Room(Buffer& buffer, std::size_t used, std::size_t size) {
    if (buffer.capacity() < used + size)
        buffer.reserve(std::max(used + size, buffer.capacity() * 2));
    buffer.resize(used + size);
    return reinterpret_cast<char*>(buffer.data()) + used;
}

} // namespace

char* ResponseAccumulator::Space(std::size_t size) {
    if (body_)
        return Room(*body_, bodyUsed_, size);
    return Room(header_, headerUsed_, size);
}

void ResponseAccumulator::Commit(std::size_t count) {
    if (body_) {
        bodyUsed_ += count;
        body_->resize(bodyUsed_);
        return;
    }
    headerUsed_ += count;
    header_.resize(headerUsed_);
    if (header_.size() <= 4)
        return;
    if (const auto end = FindHeaderEnd(header_)) {
        // The blank line ends the head: what follows it is the start of the body, and the
        // header buffer keeps the CR LF of the last header line.
        body_.emplace(header_.begin() + static_cast<std::ptrdiff_t>(*end + 4), header_.end());
        bodyUsed_ = body_->size();
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
