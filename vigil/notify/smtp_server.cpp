#include "vigil/notify/smtp_server.h"

namespace vigil::notify {

namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

std::optional<int> ParsePort(std::string_view text) {
    if (text.empty() || text.size() > 5)
        return std::nullopt;
    int port = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        port = port * 10 + (c - '0');
    }
    if (port < 1 || port > 65535)
        return std::nullopt;
    return port;
}

bool PlainHost(std::string_view host) {
    if (host.empty())
        return false;
    for (char c : host) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte <= ' ' || byte == 0x7F || c == '[' || c == ']' || c == '/' || c == '@')
            return false;
    }
    return true;
}

} // namespace

std::optional<SmtpServerAddress> ParseSmtpServer(std::string_view text) {
    text = Trim(text);
    std::string_view host;
    std::string_view rest;
    if (!text.empty() && text.front() == '[') {
        // An IPv6 literal in brackets, which keeps its colons apart from the port's.
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos)
            return std::nullopt;
        host = text.substr(1, close - 1);
        rest = text.substr(close + 1);
        if (host.empty() || host.find_first_not_of("0123456789abcdefABCDEF:.") != host.npos)
            return std::nullopt;
        if (!rest.empty() && rest.front() != ':')
            return std::nullopt;
    } else {
        const std::size_t colon = text.find(':');
        host = text.substr(0, colon);
        rest = colon == std::string_view::npos ? std::string_view() : text.substr(colon);
        if (!PlainHost(host))
            return std::nullopt;
    }
    SmtpServerAddress address{std::string(host), kDefaultSmtpPort};
    if (!rest.empty()) {
        const auto port = ParsePort(rest.substr(1));
        if (!port)
            return std::nullopt;
        address.port = *port;
    }
    return address;
}

} // namespace vigil::notify
