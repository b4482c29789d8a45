#pragma once
// How long Execute waits for the worker, from the object's TimeOut in seconds.
#include <cstdint>

namespace ovhttp {

// The wait's own value for "no limit".
inline constexpr std::uint32_t kWaitWithoutLimit = 0xFFFFFFFF;

// TimeOut × 1000 milliseconds; 0 waits without limit. A time-out too long for the wait is cut
// to the longest limited wait instead of wrapping round to a short one; a negative one has no
// sensible length and waits without limit.
std::uint32_t TimeOutMilliseconds(std::int32_t seconds);

} // namespace ovhttp
