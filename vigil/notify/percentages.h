#pragma once
// A site's uptime and downtime shares, as the e-mails and the status report show them.
#include <cstdint>
#include <string_view>

namespace vigil::notify {

struct Percentages {
    int up = 0;
    int down = 0;
};

// The largest count the shares are computed from: the counts are 16-bit signed numbers.
inline constexpr std::int32_t kMaxCount = 32767;

// A count as the frequency lists hold it (decimal text): an empty or non-numeric entry counts
// as 0, a negative one as 0, and one beyond the 16-bit range as kMaxCount.
std::int32_t CountFromText(std::string_view text);

// up% = up x (100 / (up + down)) and down% likewise, each rounded to the nearest integer with
// a half going to the even neighbour (12.5 gives 12, 87.5 gives 88); both are 0 when there are
// no checks. The counts are first brought into 0..kMaxCount (clamped); their sum is not
// limited, so two large counts cannot overflow.
Percentages ComputePercentages(std::int64_t up, std::int64_t down);

// Rounds to the nearest integer, a half to the even neighbour.
double RoundHalfToEven(double value);

} // namespace vigil::notify
