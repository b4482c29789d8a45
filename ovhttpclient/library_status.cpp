#include "ovhttpclient/library_status.h"

namespace ovhttp {

std::string StatusCodeText(int resultType) {
    switch (resultType) {
    case kResultPostFailed:
        return "481 Windows Error Occurred";
    case kResultWinsockFailed:
        return "482 Winsock Error Occurred";
    case kResultHostLookupFailed:
        return "483 Could Not Resolve Host";
    case kResultServiceLookupFailed:
        return "484 Could Not Resolve Service";
    case kResultConnectFailed:
        return "485 Could Not Connect Socket";
    default:
        return kStatusOperationFailed;
    }
}

std::string LibraryStatusLine(const std::string& codeText) {
    return "HTTP/LIB " + codeText;
}

} // namespace ovhttp
