#include "vigil/notify/percentages.h"

#include <gtest/gtest.h>

using namespace vigil::notify;

namespace {

struct Case {
    std::int64_t up, down;
    int upPercent, downPercent;
};

class PercentagesTable : public ::testing::TestWithParam<Case> {};

TEST_P(PercentagesTable, RoundsEachShareToTheNearestEvenHalf) {
    const Case& c = GetParam();
    const Percentages p = ComputePercentages(c.up, c.down);
    EXPECT_EQ(p.up, c.upPercent);
    EXPECT_EQ(p.down, c.downPercent);
}

INSTANTIATE_TEST_SUITE_P(Cases, PercentagesTable,
                         ::testing::Values(Case{3, 1, 75, 25}, Case{0, 0, 0, 0}, Case{1, 7, 12, 88},
                                           Case{1, 2, 33, 67}, Case{10, 0, 100, 0},
                                           Case{0, 10, 0, 100},
                                           // 27 of 200 is 13.5, shown as 14; 173 is 86.5 → 86
                                           Case{27, 173, 14, 86},
                                           // counts beyond 16 bits are taken whole
                                           Case{100000, 0, 100, 0}, Case{40000, 40000, 50, 50},
                                           Case{100000, 10000, 91, 9}, Case{-5, 5, 0, 100}));

TEST(RoundHalfToEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfToEven(12.5), 12);
    EXPECT_EQ(RoundHalfToEven(13.5), 14);
    EXPECT_EQ(RoundHalfToEven(0.5), 0);
    EXPECT_EQ(RoundHalfToEven(12.4999), 12);
    EXPECT_EQ(RoundHalfToEven(12.5001), 13);
}

TEST(CountFromText, ReadsTheListEntries) {
    EXPECT_EQ(CountFromText(""), 0);
    EXPECT_EQ(CountFromText("17"), 17);
    EXPECT_EQ(CountFromText(" 17 "), 17);
    EXPECT_EQ(CountFromText("32767"), 32767);
    EXPECT_EQ(CountFromText("32768"), 32768);
    EXPECT_EQ(CountFromText("99999999999999999999999"), INT64_MAX);
    EXPECT_EQ(CountFromText("-3"), 0);
    EXPECT_EQ(CountFromText("abc"), 0);
    EXPECT_EQ(CountFromText("12x"), 0);
}

} // namespace
