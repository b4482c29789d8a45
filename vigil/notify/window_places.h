#pragma once
// Windows that come back where the user left them: the position stored under the window's
// application name is applied at once, and every move is stored.
#include "vigil/forms/form.h"
#include "vigil/notify/report_ports.h"

#include <string>

namespace vigil::notify {

inline constexpr const char* kUptimePlaceName = "Vigil - Frequency";
inline constexpr const char* kReportPlaceName = "Vigil Report";
inline constexpr const char* kErrorsPlaceName = "Vigil Error Report";

class RememberedPlace {
public:
    RememberedPlace(forms::Form& form, std::string applicationName, WindowPlaceStore& store);

private:
    void Changed();

    forms::Form& form_;
    std::string name_;
    WindowPlaceStore& store_;
    WindowPosition last_;
    forms::Subscription subscription_;
};

} // namespace vigil::notify
