#include "ovhttpclient/time_out.h"

namespace ovhttp {

std::uint32_t TimeOutMilliseconds(std::int32_t seconds) {
    if (seconds <= 0)
        return kWaitWithoutLimit;
    const std::int64_t milliseconds = static_cast<std::int64_t>(seconds) * 1000;
    if (milliseconds >= kWaitWithoutLimit)
        return kWaitWithoutLimit - 1;
    return static_cast<std::uint32_t>(milliseconds);
}

} // namespace ovhttp
