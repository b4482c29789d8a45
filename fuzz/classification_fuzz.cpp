// The page classification: the wildcard matcher against any pattern, and every mode's table
// against any body.
#include "fuzz/fuzz_input.h"
#include "vigil/engine/response_classification.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vigil::fuzz::FuzzInput input(data, size);
    const int mode = input.Byte() % 3;
    const std::string_view pattern = input.Part();
    const std::string_view body = input.Rest();
    const bool matched = vigil::engine::WildcardMatch(body, pattern);
    // A pattern without a star matches exactly the text itself.
    if (pattern.find('*') == std::string_view::npos && matched != (body == pattern))
        std::abort();
    // "*" matches everything.
    if (!vigil::engine::WildcardMatch(body, "*"))
        std::abort();
    vigil::engine::ClassifyBody(body, mode);
    return 0;
}
