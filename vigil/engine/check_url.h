#pragma once
// CheckUrl: fetches one address through the mode's transfer control and classifies the
// lower-cased body. A failed fetch never escapes; it is the verdict "request timed out".
#include "vigil/engine/clock_locale.h"
#include "vigil/engine/message_pump.h"
#include "vigil/engine/response_classification.h"
#include "vigil/forms/form1.h"

#include <string>

namespace vigil::engine {

class ResponseChecker {
public:
    ResponseChecker(forms::Form1& form1, MessagePump& pump, const ClockLocale& locale)
        : form1_(form1), pump_(pump), locale_(locale) {}

    // mode 2: the connection test (Inet2, netData2); any other mode: a site (Inet1, netData).
    std::string CheckUrl(const std::string& address, int mode);

private:
    forms::Form1& form1_;
    MessagePump& pump_;
    const ClockLocale& locale_;
};

} // namespace vigil::engine
