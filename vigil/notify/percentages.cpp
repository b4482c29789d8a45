#include "vigil/notify/percentages.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace vigil::notify {

namespace {

double NonNegative(std::int64_t count) {
    return count < 0 ? 0.0 : static_cast<double>(count);
}

} // namespace

std::int64_t CountFromText(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return 0;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return 0;
        // Past the range the entry reads as the largest count, as the counter stops there.
        if (__builtin_mul_overflow(value, 10, &value) ||
            __builtin_add_overflow(value, c - '0', &value))
            value = INT64_MAX;
    }
    return negative ? 0 : value;
}

double RoundHalfToEven(double value) {
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction > 0.5)
        return below + 1;
    if (fraction < 0.5)
        return below;
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

Percentages ComputePercentages(std::int64_t up, std::int64_t down) {
    const double u = NonNegative(up);
    const double d = NonNegative(down);
    const double total = u + d;
    if (total == 0)
        return {};
    // The factor first, then the products, as the shares have always been computed: the
    // halves fall exactly where they did (1 of 8 is 12.5, shown as 12).
    const double factor = 100.0 / total;
    return {static_cast<int>(RoundHalfToEven(u * factor)),
            static_cast<int>(RoundHalfToEven(d * factor))};
}

} // namespace vigil::notify
