// OvHttpClient's URL check and split, and the request text built from them.
#include "fuzz/fuzz_input.h"
#include "ovhttpclient/request_text.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vigil::fuzz::FuzzInput input(data, size);
    const std::uint8_t flags = input.Byte();
    const short proxyPort = static_cast<short>(input.Byte() | (input.Byte() << 8));
    const std::string proxy(input.Part());
    const std::string url(input.Rest());
    if (!ovhttp::IsRequestUrlAccepted(url))
        return 0;
    const std::optional<std::string> proxyAddress =
        (flags & 1) ? std::optional<std::string>(proxy) : std::nullopt;
    const ovhttp::Destination d = ovhttp::ChooseDestination(url, proxyAddress, proxyPort);
    if (d.target.empty())
        std::abort();
    if (!proxyAddress || proxyAddress->empty()) {
        // Without a proxy the target is the rest of the URL after host and port.
        if (d.target != "/" && url.find(d.target) == std::string::npos)
            std::abort();
        if (d.port.size() > 9 && d.port != "80")
            std::abort();
    }
    const std::string text =
        ovhttp::BuildRequestText("GET", d.target, std::string("HTTP/1.0"), std::string(proxy));
    if (text.size() < 4 || text.compare(text.size() - 2, 2, "\r\n") != 0)
        std::abort();
    return 0;
}
