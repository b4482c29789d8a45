#include "vigil/engine/interval_fields.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace vigil::engine {

std::optional<double> FieldNumber(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    std::string number;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        number += text[i++];
    bool digits = false;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        number += text[i++];
        digits = true;
    }
    if (i < text.size() && text[i] == '.') {
        number += text[i++];
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
            number += text[i++];
            digits = true;
        }
    }
    if (!digits)
        return std::nullopt;
    return std::strtod(number.c_str(), nullptr);
}

namespace {

int HeldToShort(double value) {
    constexpr double low = std::numeric_limits<short>::min();
    constexpr double high = std::numeric_limits<short>::max();
    if (!(value >= low)) // also NaN
        return static_cast<int>(low);
    if (value > high)
        return static_cast<int>(high);
    return static_cast<int>(value);
}

} // namespace

int WholeNumber(const std::string& text) {
    std::optional<double> value = FieldNumber(text);
    if (!value)
        return 0;
    return HeldToShort(std::nearbyint(*value));
}

int IntervalMinutes(const forms::Form1& form1) {
    const double minutes = static_cast<double>(WholeNumber(form1.intervalHours.Text())) * 60 +
                           WholeNumber(form1.intervalMins.Text());
    return HeldToShort(minutes);
}

void ClampIntervalForCheck(forms::Form1& form1) {
    const double minutes = FieldNumber(form1.intervalMins.Text()).value_or(0);
    if (minutes > 59)
        form1.intervalMins.SetText("59");
    if (minutes < 1)
        form1.intervalMins.SetText("1");
    const std::optional<double> hours = FieldNumber(form1.intervalHours.Text());
    if (hours && *hours > 24)
        form1.intervalHours.SetText("24");
    if (!hours || *hours < 0)
        form1.intervalHours.SetText("0");
}

} // namespace vigil::engine
