#pragma once
// The library's own status lines, used instead of a server's when an exchange fails.
#include <string>

namespace ovhttp {

// How a request ended on the worker: 0 a complete response, 1 to 5 the socket layer's connect
// failures, -1 anything else.
enum ResultType : int {
    kResultOther = -1,
    kResultSuccess = 0,
    kResultPostFailed = 1,
    kResultWinsockFailed = 2,
    kResultHostLookupFailed = 3,
    kResultServiceLookupFailed = 4,
    kResultConnectFailed = 5,
};

inline constexpr char kStatusBadRequestUrl[] = "461 Bad Request URL";
inline constexpr char kStatusTimeout[] = "462 Timeout Period Elapsed";
inline constexpr char kStatusOperationFailed[] = "463 Requested Operation Failed";

// The code text for a failed result type (1 to 5 map to 481 to 485, anything else to 463).
std::string StatusCodeText(int resultType);
// "HTTP/LIB " followed by the code text.
std::string LibraryStatusLine(const std::string& codeText);

} // namespace ovhttp
