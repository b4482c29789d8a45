#include "ringer/bytes_to_string.h"

#include <cstring>

namespace ringer {

std::string BytesToString(const char* field, std::size_t size) {
    const void* zero = std::memchr(field, 0, size);
    std::size_t length =
        zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - field) : size;
    return std::string(field, length);
}

std::string Trim(const std::string& text) {
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    std::size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

void CopyToField(char* field, std::size_t size, const std::string& text) {
    if (size == 0)
        return;
    std::size_t length = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

} // namespace ringer
