#pragma once
// How the settings read and write their texts: what counts as "no value", the two fallback
// rules, numbers as the stored texts spell them, and the window position's number format.
#include <optional>
#include <string>
#include <string_view>

namespace vigil::shell {

// An empty text and the text "Error" both mean that no value is stored.
bool IsNoValue(std::string_view text);

// Rule 1 (texts with a default): the default also replaces a text that reads as the number 0.
std::string WithDefaultText(std::string text, std::string_view fallback);
// Rule 2 (check boxes and positions with a default): only a missing value is replaced.
std::string WithDefaultState(std::string text, std::string_view fallback);

// The number a stored text spells: blanks around it, an optional sign, digits with an optional
// decimal point and an optional exponent. Anything else, and a number too large for a double,
// is not a number.
std::optional<double> ParseNumber(std::string_view text);

// A number rounded to a whole number, halves to the even neighbour; nothing when it is
// outside [low, high].
std::optional<long long> RoundedWithin(double value, long long low, long long high);

// The decimal text of a single-precision number: at most 7 significant digits, no trailing
// zeros, an exponent as "E+30" for very large or small values.
std::string SingleText(double value);

// Removes the spaces at both ends.
std::string TrimBlanks(std::string_view text);

} // namespace vigil::shell
