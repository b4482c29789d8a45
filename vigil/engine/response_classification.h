#pragma once
// Turns a lower-cased page body into a verdict: "OK", or the error text of the last test of
// the mode's table that holds. Only the body is looked at; error pages are known by their text.
#include <string>
#include <string_view>
#include <vector>

namespace vigil::engine {

inline constexpr const char* kVerdictOk = "OK";
inline constexpr const char* kVerdictFetchFailed = "request timed out";

// The cycle checks sites in mode 1 and the connection-test address in mode 2; any mode other
// than 2 is a site check.
inline constexpr int kSiteCheck = 1;
inline constexpr int kConnectionCheck = 2;

enum class TestKind {
    Empty,        // the body has no characters
    Contains,     // pattern occurs anywhere
    ContainsBoth, // pattern and pattern2 both occur
    Equals,       // the whole body is the pattern
    Matches,      // the whole body matches the pattern, "*" standing for any run of characters
};

struct ClassificationTest {
    TestKind kind;
    std::string_view pattern;
    std::string_view pattern2;
    std::string_view verdict;
};

// The tests of a mode, in the order they are run.
const std::vector<ClassificationTest>& ClassificationTable(int mode);

bool TestHolds(const ClassificationTest& test, std::string_view lowerBody);

// Runs every test of the mode's table; the last one that holds decides.
std::string ClassifyBody(std::string_view lowerBody, int mode);

// Anchored wildcard match in which "*" stands for any run of characters (also none) and every
// other character for itself. Linear in the text's length.
bool WildcardMatch(std::string_view text, std::string_view pattern);

} // namespace vigil::engine
