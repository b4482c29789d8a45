#include "vigil/shell/settings_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace vigil::shell {
namespace {

TEST(SettingsText, NumbersAreReadAsTheStoredTextsSpellThem) {
    struct Case {
        const char* text;
        std::optional<double> number;
    } cases[] = {
        {"0", 0.0},    {" 80 ", 80.0}, {"-5", -5.0},  {"+3", 3.0},    {"1e30", 1e30}, {"2.5", 2.5},
        {".5", 0.5},   {"5.", 5.0},    {"-0", 0.0},   {"0.000", 0.0}, {"1E+05", 1e5}, {"", {}},
        {"Error", {}}, {"abc", {}},    {"12abc", {}}, {"1e", {}},     {".", {}},      {"-", {}},
        {"1e999", {}}, {"nan", {}},    {"inf", {}},   {"0x10", {}},   {"1 2", {}},    {"\t1", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseNumber(c.text), c.number);
    }
}

TEST(SettingsText, TheTwoFallbackRules) {
    struct Case {
        const char* read;
        const char* rule1;
        const char* rule2;
    } cases[] = {
        {"", "D", "D"},
        {"Error", "D", "D"},
        {"0", "D", "0"},
        {" 0.0 ", "D", " 0.0 "},
        {"1", "1", "1"},
        {"alarm.wav", "alarm.wav", "alarm.wav"},
        {"C:\\Sounds\\bell.wav", "C:\\Sounds\\bell.wav", "C:\\Sounds\\bell.wav"},
        {"error", "error", "error"}, // only the exact text "Error" means no value
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.read);
        EXPECT_EQ(WithDefaultText(c.read, "D"), c.rule1);
        EXPECT_EQ(WithDefaultState(c.read, "D"), c.rule2);
    }
}

TEST(SettingsText, RoundingHalvesToEvenAndRefusesWhatIsOutsideTheRange) {
    EXPECT_EQ(RoundedWithin(2.5, 0, 5), 2);
    EXPECT_EQ(RoundedWithin(3.5, 0, 5), 4);
    EXPECT_EQ(RoundedWithin(0.4, 0, 1), 0);
    EXPECT_EQ(RoundedWithin(5.4, 0, 5), 5);
    EXPECT_EQ(RoundedWithin(5.6, 0, 5), std::nullopt);
    EXPECT_EQ(RoundedWithin(-1, 0, 5), std::nullopt);
    EXPECT_EQ(RoundedWithin(1e30, 0, 5), std::nullopt);
    EXPECT_EQ(RoundedWithin(NAN, 0, 5), std::nullopt);
}

TEST(SettingsText, SinglePrecisionText) {
    struct Case {
        double value;
        const char* text;
    } cases[] = {
        {1440, "1440"},       {0, "0"},
        {-48000, "-48000"},   {-99, "-99"},
        {1234.5, "1234.5"},   {0.25, "0.25"},
        {1e30, "1E+30"},      {12345678, "1.234568E+07"},
        {1234567, "1234567"}, {3.1415926535, "3.141593"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(SingleText(c.value), c.text);
    }
}

TEST(SettingsText, TrimRemovesOnlySpacesAtTheEnds) {
    EXPECT_EQ(TrimBlanks("  C:\\Vigil\\ x  "), "C:\\Vigil\\ x");
    EXPECT_EQ(TrimBlanks("   "), "");
    EXPECT_EQ(TrimBlanks("\tx\t"), "\tx\t");
}

} // namespace
} // namespace vigil::shell
