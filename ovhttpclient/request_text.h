#pragma once
// What one request asks for: where to connect, the request target and the exact request bytes.
// Texts are ANSI; an absent text (std::nullopt) and an empty one are told apart where it matters.
#include <cstdint>
#include <optional>
#include <string>

namespace ovhttp {

// The URL must be present, start with "http://" in any case and hold at least one more character.
bool IsRequestUrlAccepted(const std::optional<std::string>& url);

struct Destination {
    std::string host;   // host name or dotted address to connect to
    std::string port;   // port number or service name, as text
    std::string target; // what follows the method on the request line
};

// Direct: host and port from the URL, target from the first "/" after the host (or "/").
// Through a proxy (a non-empty proxy address): the proxy and its port, target the whole URL.
// The URL must have been accepted; it is never decoded or normalised.
Destination ChooseDestination(const std::string& url,
                              const std::optional<std::string>& proxyAddress,
                              std::int16_t proxyPort);

// Request line, the caller's headers and the blank line, with no byte added of our own.
std::string BuildRequestText(const std::string& method, const std::string& target,
                             const std::optional<std::string>& httpVersion,
                             const std::optional<std::string>& requestHeaders);

} // namespace ovhttp
