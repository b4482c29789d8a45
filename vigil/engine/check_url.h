#pragma once
// CheckUrl: fetches one address through the mode's transfer control and classifies the
// lower-cased body. A failed fetch never escapes; it is the verdict "request timed out".
// With "Treat HTTP error status as failure" checked, a site whose body passes but whose answer
// has a status of 400 or more gets the status as its verdict: "404 not found", or the code
// alone when the server sent no reason phrase. The connection test reads the body only.
#include "vigil/engine/clock_locale.h"
#include "vigil/engine/message_pump.h"
#include "vigil/engine/response_classification.h"
#include "vigil/forms/form1.h"

#include <cstddef>
#include <string>

namespace vigil::engine {

// The lowest HTTP status the option counts as a failure.
inline constexpr int kFirstErrorStatus = 400;
// The longest reason phrase a status verdict carries; a longer one is cut.
inline constexpr std::size_t kMaxReasonInVerdict = 64;

class ResponseChecker {
public:
    ResponseChecker(forms::Form1& form1, MessagePump& pump, const ClockLocale& locale)
        : form1_(form1), pump_(pump), locale_(locale) {}

    // mode 2: the connection test (Inet2, netData2); any other mode: a site (Inet1, netData).
    // The status option is read from Form1.chkHttpStatus at each call.
    std::string CheckUrl(const std::string& address, int mode);

private:
    forms::Form1& form1_;
    MessagePump& pump_;
    const ClockLocale& locale_;
};

} // namespace vigil::engine
