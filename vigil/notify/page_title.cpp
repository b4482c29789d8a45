#include "vigil/notify/page_title.h"

#include <cctype>

namespace vigil::notify {

namespace {

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Where the tag "<name" (followed by white space, "/" or ">") starts at or after from.
std::size_t FindTag(std::string_view html, std::string_view name, std::size_t from) {
    for (std::size_t i = html.find('<', from); i != std::string_view::npos;
         i = html.find('<', i + 1)) {
        if (html.size() - i - 1 < name.size())
            return std::string_view::npos;
        bool same = true;
        for (std::size_t k = 0; same && k < name.size(); ++k)
            same = Lower(html[i + 1 + k]) == name[k];
        if (!same)
            continue;
        const std::size_t after = i + 1 + name.size();
        if (after == html.size() || html[after] == '>' || html[after] == '/' ||
            std::isspace(static_cast<unsigned char>(html[after])))
            return i;
    }
    return std::string_view::npos;
}

bool Space(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

// Decodes the reference starting at text[i] ("&"); returns the characters it stands for and
// moves i past it, or gives "&" alone when it is not one we know.
std::string Reference(std::string_view text, std::size_t& i) {
    static constexpr struct {
        std::string_view name;
        char value;
    } kNamed[] = {{"amp;", '&'},  {"lt;", '<'},    {"gt;", '>'},
                  {"quot;", '"'}, {"apos;", '\''}, {"nbsp;", ' '}};
    const std::string_view rest = text.substr(i + 1);
    for (const auto& named : kNamed) {
        if (rest.size() >= named.name.size()) {
            bool same = true;
            for (std::size_t k = 0; same && k < named.name.size(); ++k)
                same = Lower(rest[k]) == named.name[k];
            if (same) {
                i += 1 + named.name.size();
                return std::string(1, named.value);
            }
        }
    }
    if (!rest.empty() && rest[0] == '#') {
        const bool hex = rest.size() > 1 && (rest[1] == 'x' || rest[1] == 'X');
        std::size_t k = hex ? 2 : 1;
        unsigned value = 0;
        std::size_t digits = 0;
        for (; k < rest.size() && digits < 8; ++k, ++digits) {
            const unsigned char c = static_cast<unsigned char>(rest[k]);
            if (hex && std::isxdigit(c))
                value = value * 16 + (std::isdigit(c) ? c - '0' : std::tolower(c) - 'a' + 10);
            else if (!hex && std::isdigit(c))
                value = value * 10 + (c - '0');
            else
                break;
        }
        if (digits > 0 && k < rest.size() && rest[k] == ';' && value > 0 && value <= 255) {
            i += 1 + k + 1;
            return std::string(1, static_cast<char>(value));
        }
    }
    ++i;
    return "&";
}

} // namespace

std::string ExtractTitle(std::string_view html) {
    const std::size_t open = FindTag(html, "title", 0);
    if (open == std::string_view::npos)
        return {};
    const std::size_t close = html.find('>', open);
    if (close == std::string_view::npos)
        return {};
    const std::size_t end = FindTag(html, "/title", close + 1);
    const std::string_view raw = html.substr(
        close + 1, end == std::string_view::npos ? std::string_view::npos : end - close - 1);
    std::string decoded;
    for (std::size_t i = 0; i < raw.size();) {
        if (raw[i] == '&')
            decoded += Reference(raw, i);
        else
            decoded += raw[i++];
    }
    std::string title;
    bool pendingSpace = false;
    for (char c : decoded) {
        if (Space(c)) {
            pendingSpace = !title.empty();
            continue;
        }
        if (pendingSpace)
            title += ' ';
        pendingSpace = false;
        title += c;
    }
    return title;
}

} // namespace vigil::notify
