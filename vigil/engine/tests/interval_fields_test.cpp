#include "vigil/engine/interval_fields.h"

#include <gtest/gtest.h>

using namespace vigil;
using namespace vigil::engine;

TEST(IntervalFields, FieldNumberReadsTheNumberTheTextStartsWith) {
    struct Case {
        const char* text;
        std::optional<double> want;
    } cases[] = {
        {"5", 5},      {"059", 59}, {"-3", -3},  {"+7", 7}, {" 12", 12}, {"2.5", 2.5},
        {"12abc", 12}, {"", {}},    {"abc", {}}, {"-", {}}, {".", {}},   {"Error", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FieldNumber(c.text), c.want) << '"' << c.text << '"';
}

TEST(IntervalFields, WholeNumberRoundsHalvesToEvenAndHoldsTheShortRange) {
    struct Case {
        const char* text;
        int want;
    } cases[] = {{"", 0},    {"x", 0},         {"2.5", 2},       {"3.5", 4},
                 {"-1", -1}, {"32767", 32767}, {"99999", 32767}, {"-99999", -32768}};
    for (const Case& c : cases)
        EXPECT_EQ(WholeNumber(c.text), c.want) << '"' << c.text << '"';
}

TEST(IntervalFields, IntervalMinutesIsHoursTimesSixtyPlusMinutesWithoutLimits) {
    struct Case {
        const char *hours, *mins;
        int want;
    } cases[] = {{"0", "5", 5}, {"2", "1", 121}, {"24", "59", 1499},  {"0", "0", 0},   {"", "", 0},
                 {"1", "", 60}, {"0", "75", 75}, {"600", "0", 32767}, {"-1", "0", -60}};
    for (const Case& c : cases) {
        forms::Form1 f;
        f.intervalHours.SetText(c.hours);
        f.intervalMins.SetText(c.mins);
        EXPECT_EQ(IntervalMinutes(f), c.want) << c.hours << "/" << c.mins;
    }
}
