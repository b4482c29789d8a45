// OvHttpClient's response accumulator, fed the input in pieces whose sizes the input chooses,
// and the split of the head into status line and headers.
#include "fuzz/fuzz_input.h"
#include "ovhttpclient/response.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vigil::fuzz::FuzzInput input(data, size);
    const std::uint8_t pieceSeed = input.Byte();
    const std::string_view stream = input.Rest();
    ovhttp::ResponseAccumulator response;
    std::size_t at = 0;
    std::size_t step = 1 + pieceSeed % 17;
    while (at < stream.size()) {
        const std::size_t room = response.NextPieceSize();
        if (room == 0)
            std::abort();
        const std::size_t count = std::min({room, step, stream.size() - at});
        char* space = response.Space(room);
        std::memcpy(space, stream.data() + at, count);
        response.Commit(count);
        at += count;
        step = step * 3 % 4099 + 1;
    }
    const std::string whole(stream);
    const std::size_t end = whole.find("\r\n\r\n");
    // The blank line is looked for once the buffer holds more than 4 bytes.
    if (response.InBody() != (end != std::string::npos && whole.size() > 4))
        std::abort();
    if (response.InBody() && response.Header() != whole.substr(0, end + 2))
        std::abort();
    if (response.Header().size() >= 5) {
        const ovhttp::ResponseHead head = ovhttp::SplitResponseHead(response.Header());
        if (head.status.size() + head.headers.size() > response.Header().size())
            std::abort();
    }
    if (auto body = response.TakeBody()) {
        if (body->size() != whole.size() - end - 4 ||
            (!body->empty() &&
             std::memcmp(body->data(), whole.data() + end + 4, body->size()) != 0))
            std::abort();
    }
    return 0;
}
