#include "ringer/bytes_to_string.h"

#include <gtest/gtest.h>

using ringer::BytesToString;
using ringer::CopyToField;
using ringer::Trim;

TEST(BytesToString, StopsAtTheFirstZeroByte) {
    const char field[8] = {'a', 'b', '\0', 'c', 'd', '\0', '\0', '\0'};
    EXPECT_EQ(BytesToString(field), "ab");
}

TEST(BytesToString, TakesTheWholeFieldWhenItHoldsNoZero) {
    const char field[3] = {'x', 'y', 'z'};
    EXPECT_EQ(BytesToString(field), "xyz");
}

TEST(BytesToString, KeepsBytesAboveSevenBitAsOneCharacterEach) {
    const char field[4] = {'\xe9', 't', '\xe9', '\0'};
    EXPECT_EQ(BytesToString(field), std::string("\xe9t\xe9"));
}

TEST(Trim, RemovesLeadingAndTrailingSpacesOnly) {
    EXPECT_EQ(Trim("  My ISP  "), "My ISP");
    EXPECT_EQ(Trim("\tTab\t"), "\tTab\t");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Trim(""), "");
}

TEST(CopyToField, CutsTextThatDoesNotFitAndAlwaysTerminates) {
    char field[5];
    CopyToField(field, std::string("abcdefgh"));
    EXPECT_EQ(std::string(field), "abcd");
    CopyToField(field, std::string("ab"));
    EXPECT_EQ(std::string(field), "ab");
}
