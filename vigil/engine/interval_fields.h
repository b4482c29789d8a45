#pragma once
// Reading the schedule's interval fields (intervalHours, intervalMins) and the countdown as
// numbers, and the limits the "Check Now" paths put on the interval.
#include "vigil/forms/form1.h"

#include <optional>
#include <string>

namespace vigil::engine {

// The number a field's text starts with (sign, digits, a fraction), as the field is compared
// with a limit; nullopt for a text without any digit, such as an empty field.
std::optional<double> FieldNumber(const std::string& text);
// The field as a whole number, rounded to the nearest with halves to even; a text without a
// number counts as 0, and a number outside the 16-bit range is held at its end.
int WholeNumber(const std::string& text);

// hours × 60 + minutes from the fields as they stand, in the 16-bit range
// (-32768..32767) the interval has always had; no limits applied.
int IntervalMinutes(const forms::Form1& form1);

// The limits of "Check Now": minutes above 59 become "59" and below 1 become "1", hours above
// 24 become "24" and below 0 become "0". An empty field is read as 0, so empty minutes become
// "1" and empty hours "0".
void ClampIntervalForCheck(forms::Form1& form1);

} // namespace vigil::engine
