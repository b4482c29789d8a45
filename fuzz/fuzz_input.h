#pragma once
// Splits one fuzzer input into parts: the first bytes choose, the rest is text.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vigil::fuzz {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : text_(reinterpret_cast<const char*>(data), size) {}
    // One byte (0 when none is left).
    std::uint8_t Byte() {
        if (text_.empty())
            return 0;
        const auto b = static_cast<std::uint8_t>(text_.front());
        text_.remove_prefix(1);
        return b;
    }
    // Text up to the next NUL byte (or all that is left).
    std::string_view Part() {
        const std::size_t end = text_.find('\0');
        const std::string_view part = text_.substr(0, end);
        text_.remove_prefix(end == std::string_view::npos ? text_.size() : end + 1);
        return part;
    }
    std::string_view Rest() const { return text_; }

private:
    std::string_view text_;
};

} // namespace vigil::fuzz
