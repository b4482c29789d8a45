#include "vigil/engine/check_url.h"

#include <exception>

namespace vigil::engine {

std::string ResponseChecker::CheckUrl(const std::string& address, int mode) {
    const bool connectionTest = mode == kConnectionCheck;
    forms::Inet& inet = connectionTest ? form1_.Inet2 : form1_.Inet1;
    forms::RichText& working = connectionTest ? form1_.netData2 : form1_.netData;

    pump_.DoEvents();
    working.SetText({});
    try {
        working.SetText(locale_.LowerCase(inet.OpenURL(address)));
    } catch (const std::exception&) {
        // Whatever went wrong on the way (host unreachable, refused, time-out, cancelled)
        // reads the same to the user; no table test runs on a body that never came.
        return kVerdictFetchFailed;
    }
    return ClassifyBody(working.Text(), mode);
}

} // namespace vigil::engine
