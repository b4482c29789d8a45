#include "ovhttpclient/time_out.h"

#include <gtest/gtest.h>

using namespace ovhttp;

namespace {

TEST(TimeOut, SecondsBecomeTheWaitInMilliseconds) {
    const std::pair<std::int32_t, std::uint32_t> cases[] = {
        {0, kWaitWithoutLimit},
        {1, 1000u},
        {30, 30000u},
        {4294967, 4294967000u},
        // Longer than the wait can be: the longest limited wait, never a wrapped short one
        // (536870912 s is exactly 125 × 2^32 ms).
        {4294968, kWaitWithoutLimit - 1},
        {536870912, kWaitWithoutLimit - 1},
        {2147483647, kWaitWithoutLimit - 1},
        {-1, kWaitWithoutLimit},
        {-536870912, kWaitWithoutLimit},
    };
    for (const auto& [seconds, milliseconds] : cases)
        EXPECT_EQ(TimeOutMilliseconds(seconds), milliseconds) << seconds;
}

} // namespace
