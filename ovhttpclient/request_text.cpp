#include "ovhttpclient/request_text.h"

#include <cctype>

namespace ovhttp {

namespace {

constexpr char kScheme[] = "http://";
constexpr std::size_t kSchemeLength = sizeof(kScheme) - 1;
// Longer port texts are cut: no port number or service name needs more.
constexpr std::size_t kMaxPortText = 9;

bool NotEmpty(const std::optional<std::string>& text) {
    return text && !text->empty();
}

} // namespace

bool IsRequestUrlAccepted(const std::optional<std::string>& url) {
    if (!url || url->size() < kSchemeLength + 1)
        return false;
    for (std::size_t i = 0; i < kSchemeLength; ++i)
        if (std::tolower(static_cast<unsigned char>((*url)[i])) != kScheme[i])
            return false;
    return true;
}

Destination ChooseDestination(const std::string& url,
                              const std::optional<std::string>& proxyAddress,
                              std::int16_t proxyPort) {
    Destination d;
    if (NotEmpty(proxyAddress)) {
        d.host = *proxyAddress;
        d.port = std::to_string(proxyPort);
        d.target = url;
        return d;
    }
    const std::size_t hostStart = kSchemeLength;
    std::size_t hostEnd = url.find_first_of(":/", hostStart);
    if (hostEnd == std::string::npos)
        hostEnd = url.size();
    d.host = url.substr(hostStart, hostEnd - hostStart);

    std::size_t targetStart = url.find('/', hostEnd);
    if (hostEnd < url.size() && url[hostEnd] == ':') {
        const std::size_t portStart = hostEnd + 1;
        const std::size_t portEnd = targetStart == std::string::npos ? url.size() : targetStart;
        d.port = url.substr(portStart, std::min(portEnd - portStart, kMaxPortText));
    } else {
        d.port = "80";
    }
    d.target = targetStart == std::string::npos ? "/" : url.substr(targetStart);
    return d;
}

std::string BuildRequestText(const std::string& method, const std::string& target,
                             const std::optional<std::string>& httpVersion,
                             const std::optional<std::string>& requestHeaders) {
    const bool withVersion = NotEmpty(httpVersion);
    const bool withHeaders = NotEmpty(requestHeaders);
    const bool endHeaders = withHeaders && requestHeaders->size() >= 3 &&
                            requestHeaders->compare(requestHeaders->size() - 2, 2, "\r\n") != 0;

    std::size_t length = method.size() + 1 + target.size() + 2 + 2;
    if (withVersion)
        length += 1 + httpVersion->size();
    if (withHeaders)
        length += requestHeaders->size() + (endHeaders ? 2 : 0);

    std::string text;
    text.reserve(length);
    text += method;
    text += ' ';
    text += target;
    if (withVersion) {
        text += ' ';
        text += *httpVersion;
    }
    text += "\r\n";
    if (withHeaders) {
        text += *requestHeaders;
        if (endHeaders)
            text += "\r\n";
    }
    text += "\r\n";
    return text;
}

} // namespace ovhttp
