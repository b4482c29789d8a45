#pragma once
// A site's uptime and downtime shares, as the e-mails and the status report show them.
#include <cstdint>
#include <string_view>

namespace vigil::notify {

struct Percentages {
    int up = 0;
    int down = 0;
};

// A count as the frequency lists hold it (decimal text): an empty or non-numeric entry counts
// as 0, a negative one as 0. The counters never wrap (they stop at the top of their range), so
// a count past 16 bits is read whole rather than cut: a share computed from a cut count would
// be wrong (100000 up and 10000 down would show 77% instead of 91%).
std::int64_t CountFromText(std::string_view text);

// up% = up x (100 / (up + down)) and down% likewise, each rounded to the nearest integer with
// a half going to the even neighbour (12.5 gives 12, 87.5 gives 88); both are 0 when there are
// no checks. A negative count counts as 0; the sum is taken in floating point, so two huge
// counts cannot overflow.
Percentages ComputePercentages(std::int64_t up, std::int64_t down);

// Rounds to the nearest integer, a half to the even neighbour.
double RoundHalfToEven(double value);

} // namespace vigil::notify
