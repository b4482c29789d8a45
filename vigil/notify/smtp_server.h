#pragma once
// The SMTP server field: a host name or address, optionally followed by ":" and a port.
#include <optional>
#include <string>
#include <string_view>

namespace vigil::notify {

inline constexpr int kDefaultSmtpPort = 25;

struct SmtpServerAddress {
    std::string host;
    int port = kDefaultSmtpPort;
};

// "mail.example.com", "mail.example.com:2525", "10.0.0.1:25", "[::1]:25". Spaces around the
// text are ignored. Nothing (no value) for an empty host, a port that is not 1 to 65535 in
// decimal digits, a colon without a port, or a host containing spaces or control characters.
std::optional<SmtpServerAddress> ParseSmtpServer(std::string_view text);

} // namespace vigil::notify
