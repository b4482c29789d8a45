#pragma once
// Port: one page-transfer instance, the stand-in for an Internet transfer control placed on a
// window. Open fetches an address and hands back the whole body, with the HTTP status of the
// answer, once the transfer has finished; the caller is blocked, but the user interface keeps
// running meanwhile. A failed transfer is reported as a failure, never as an empty body; an
// answer with an error status is still an answer.
#include <string>

namespace vigil::engine {

// How an instance reaches the network: the browser's connection settings, straight out, or
// through the proxy named in the request.
enum class AccessType { Default = 0, Direct = 1, NamedProxy = 2 };

inline constexpr int kDefaultRequestTimeoutSeconds = 60;

struct TransferRequest {
    std::string address;
    AccessType accessType = AccessType::Default;
    std::string proxy; // "host:port", used with AccessType::NamedProxy
    int timeoutSeconds = kDefaultRequestTimeoutSeconds;
};

struct TransferResult {
    bool ok = false;
    std::string body;       // the whole body as received, when ok
    std::string error;      // what went wrong, when not ok (for diagnostics only)
    int status = 0;         // the HTTP status code when ok; 0 when the scheme has none
    std::string statusText; // its reason phrase as sent (may be empty)

    static TransferResult Body(std::string body) { return {true, std::move(body), {}}; }
    static TransferResult Failure(std::string error) { return {false, {}, std::move(error)}; }
    // An HTTP answer: the body with the status line's code and reason phrase.
    static TransferResult Answer(std::string body, int status, std::string statusText) {
        return {true, std::move(body), {}, status, std::move(statusText)};
    }
};

class PageTransfer {
public:
    virtual ~PageTransfer() = default;

    // Blocks until the body has arrived, the transfer failed, the time-out passed or Cancel
    // was called (from a message handled while waiting).
    virtual TransferResult Open(const TransferRequest& request) = 0;
    // True while a transfer started on this instance has not finished.
    virtual bool StillExecuting() const = 0;
    // Ends the transfer in progress; its Open returns a failure.
    virtual void Cancel() = 0;
};

} // namespace vigil::engine
