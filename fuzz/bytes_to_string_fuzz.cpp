// Ringer's byte-to-string conversion of RAS record fields, the trim and the copy back.
#include "ringer/bytes_to_string.h"

#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* field = reinterpret_cast<const char*>(data);
    const std::string text = ringer::BytesToString(field, size);
    if (text.size() > size || text.find('\0') != std::string::npos ||
        std::memcmp(text.data(), field, text.size()) != 0)
        std::abort();
    const std::string trimmed = ringer::Trim(text);
    if (!trimmed.empty() && (trimmed.front() == ' ' || trimmed.back() == ' '))
        std::abort();
    std::vector<char> copy(size % 40 + 1, 'x');
    ringer::CopyToField(copy.data(), copy.size(), text);
    if (copy.back() != '\0' && std::memchr(copy.data(), '\0', copy.size()) == nullptr)
        std::abort();
    return 0;
}
