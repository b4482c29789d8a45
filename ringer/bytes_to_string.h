#pragma once
// Text fields of the RAS records are fixed byte arrays holding NUL-terminated ANSI text.
#include <cstddef>
#include <string>

namespace ringer {

// The bytes from the first up to, not including, the first zero byte (or the whole field when
// it holds none), each byte one ANSI character.
std::string BytesToString(const char* field, std::size_t size);
template <std::size_t N> std::string BytesToString(const char (&field)[N]) {
    return BytesToString(field, N);
}

// Leading and trailing spaces removed (spaces only, as names are trimmed).
std::string Trim(const std::string& text);

// Copies text into a fixed field, NUL-terminated, cut short when it does not fit.
void CopyToField(char* field, std::size_t size, const std::string& text);
template <std::size_t N> void CopyToField(char (&field)[N], const std::string& text) {
    CopyToField(field, N, text);
}

} // namespace ringer
