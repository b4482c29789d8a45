#pragma once
// The local clock and the user's locale: short date and time texts as the control panel sets
// them, and lower-casing in the system's ANSI code page.
#include "vigil/engine/clock_locale.h"

namespace vigil::engine::win32 {

class Win32ClockLocale : public ClockLocale {
public:
    LocalTime Now() const override;
    std::string ShortDate(const LocalTime& time) const override;
    std::string GeneralDate(const LocalTime& time) const override;
    std::string LowerCase(std::string text) const override;
};

} // namespace vigil::engine::win32
