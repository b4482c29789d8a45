#include "vigil/notify/url_encode.h"

#include <array>

namespace vigil::notify {

namespace {

// The set of bytes copied unchanged, one entry per byte value, built on first use.
const std::array<bool, 256>& KeptBytes() {
    static const std::array<bool, 256> kept = [] {
        std::array<bool, 256> table{};
        for (int c = 'A'; c <= 'Z'; ++c)
            table[c] = true;
        for (int c = 'a'; c <= 'z'; ++c)
            table[c] = true;
        for (int c = '0'; c <= '9'; ++c)
            table[c] = true;
        return table;
    }();
    return kept;
}

} // namespace

std::string UrlEncode(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const auto& kept = KeptBytes();
    std::string encoded;
    encoded.reserve(text.size() * 3);
    for (char ch : text) {
        const unsigned char byte = static_cast<unsigned char>(ch);
        if (kept[byte]) {
            encoded += ch;
        } else if (byte == ' ') {
            encoded += '+';
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0F];
        }
    }
    return encoded;
}

} // namespace vigil::notify
