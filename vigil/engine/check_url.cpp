#include "vigil/engine/check_url.h"

#include <exception>

namespace vigil::engine {

namespace {

// The reason phrase as it may appear in a verdict: printable characters only, without the
// blanks around it, and short enough for the status column, the log and a mail subject.
std::string CleanReason(const std::string& reason) {
    std::string clean;
    for (char c : reason) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u != 0x7f)
            clean += c;
    }
    const std::size_t first = clean.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    clean = clean.substr(first, clean.find_last_not_of(' ') - first + 1);
    if (clean.size() > kMaxReasonInVerdict)
        clean.resize(kMaxReasonInVerdict);
    return clean;
}

} // namespace

std::string ResponseChecker::CheckUrl(const std::string& address, int mode) {
    const bool connectionTest = mode == kConnectionCheck;
    forms::Inet& inet = connectionTest ? form1_.Inet2 : form1_.Inet1;
    forms::RichText& working = connectionTest ? form1_.netData2 : form1_.netData;

    pump_.DoEvents();
    working.SetText({});
    forms::InetResponse response;
    try {
        response = inet.Fetch(address);
        working.SetText(locale_.LowerCase(std::move(response.body)));
    } catch (const std::exception&) {
        // Whatever went wrong on the way (host unreachable, refused, time-out, cancelled)
        // reads the same to the user; no table test runs on a body that never came.
        return kVerdictFetchFailed;
    }
    std::string verdict = ClassifyBody(working.Text(), mode);
    // A failure the body table found stands; the status is only asked when it found none.
    if (verdict != kVerdictOk || connectionTest || form1_.chkHttpStatus.Value() != 1 ||
        response.status < kFirstErrorStatus)
        return verdict;
    const std::string reason = CleanReason(response.statusText);
    std::string code = std::to_string(response.status);
    return reason.empty() ? code : code + " " + locale_.LowerCase(reason);
}

} // namespace vigil::engine
