#include "vigil/shell/settings_text.h"

#include "vigil/shell/registry_store.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vigil::shell {

bool IsNoValue(std::string_view text) {
    return text.empty() || text == kReadError;
}

std::string WithDefaultText(std::string text, std::string_view fallback) {
    auto number = ParseNumber(text);
    if (IsNoValue(text) || (number && *number == 0))
        return std::string(fallback);
    return text;
}

std::string WithDefaultState(std::string text, std::string_view fallback) {
    return IsNoValue(text) ? std::string(fallback) : text;
}

std::optional<double> ParseNumber(std::string_view text) {
    std::string_view t = text;
    while (!t.empty() && t.front() == ' ')
        t.remove_prefix(1);
    while (!t.empty() && t.back() == ' ')
        t.remove_suffix(1);
    std::size_t i = 0;
    auto digits = [&] {
        std::size_t start = i;
        while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i])))
            ++i;
        return i - start;
    };
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        ++i;
    std::size_t mantissa = digits();
    if (i < t.size() && t[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return std::nullopt;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-'))
            ++i;
        if (digits() == 0)
            return std::nullopt;
    }
    if (i != t.size())
        return std::nullopt;
    // The text is now known to be a plain decimal number, which strtod reads in the C locale.
    double value = std::strtod(std::string(t).c_str(), nullptr);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<long long> RoundedWithin(double value, long long low, long long high) {
    if (!std::isfinite(value) || value < static_cast<double>(low) - 0.5 ||
        value > static_cast<double>(high) + 0.5)
        return std::nullopt;
    double rounded = std::nearbyint(value); // the default rounding mode: halves to even
    if (rounded < static_cast<double>(low) || rounded > static_cast<double>(high))
        return std::nullopt;
    return static_cast<long long>(rounded);
}

std::string SingleText(double value) {
    float single = static_cast<float>(value);
    if (!std::isfinite(single))
        return "0";
    char text[32];
    std::snprintf(text, sizeof text, "%.7G", static_cast<double>(single));
    std::string result = text;
    // "%G" writes at least two exponent digits with a sign; a whole number keeps no point.
    auto e = result.find('E');
    std::string mantissa = result.substr(0, e);
    std::string exponent = e == std::string::npos ? std::string() : result.substr(e);
    if (mantissa.find('.') != std::string::npos) {
        while (mantissa.back() == '0')
            mantissa.pop_back();
        if (mantissa.back() == '.')
            mantissa.pop_back();
    }
    if (!exponent.empty()) {
        // "E+08" -> "E+08" as the platform writes it; drop only a third leading zero.
        if (exponent.size() > 4 && exponent[2] == '0')
            exponent.erase(2, 1);
    }
    return mantissa + exponent;
}

std::string TrimBlanks(std::string_view text) {
    std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos)
        return {};
    std::size_t end = text.find_last_not_of(' ');
    return std::string(text.substr(begin, end - begin + 1));
}

} // namespace vigil::shell
