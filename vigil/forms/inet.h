#pragma once
// The Internet transfer control of a window (Inet1, Inet2): its design-time settings, the
// proxy and access type the check cycle sets, and the open-address call, which hands the work
// to the page-transfer instance attached at start-up. A failed transfer raises InetError; an
// empty body is an empty text. OpenURL gives the body alone; Fetch adds the answer's status.
#include "vigil/engine/page_transfer.h"
#include "vigil/forms/control.h"

#include <stdexcept>
#include <string>

namespace vigil::forms {

class InetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What an address answered: the whole body and the HTTP status line (code 0 when the scheme
// has no status).
struct InetResponse {
    std::string body;
    int status = 0;
    std::string statusText;
};

class Inet : public Control {
public:
    explicit Inet(std::string name) : Control(std::move(name)) { SetVisible(false); }

    // Settings made on the window: plain HTTP on port 80 unless the address says otherwise.
    const std::string& Protocol() const { return protocol_; }
    int RemotePort() const { return remotePort_; }
    int RequestTimeout() const { return requestTimeout_; }
    void SetRequestTimeout(int seconds) { requestTimeout_ = seconds; }

    const std::string& Proxy() const { return proxy_; }
    void SetProxy(const std::string& proxy) { proxy_ = proxy; }
    engine::AccessType AccessType() const { return accessType_; }
    void SetAccessType(engine::AccessType type) { accessType_ = type; }

    void Attach(engine::PageTransfer* transfer) { transfer_ = transfer; }

    // Returns the whole body; throws InetError when the transfer failed.
    std::string OpenURL(const std::string& address) { return Fetch(address).body; }
    // The body with the answer's status; throws InetError when the transfer failed.
    InetResponse Fetch(const std::string& address) {
        if (!transfer_)
            throw InetError("no page transfer attached to " + Name());
        engine::TransferResult result =
            transfer_->Open({address, accessType_, proxy_, requestTimeout_});
        if (!result.ok)
            throw InetError(result.error);
        return {std::move(result.body), result.status, std::move(result.statusText)};
    }
    bool StillExecuting() const { return transfer_ && transfer_->StillExecuting(); }
    void Cancel() {
        if (transfer_)
            transfer_->Cancel();
    }

private:
    std::string protocol_ = "HTTP";
    int remotePort_ = 80;
    int requestTimeout_ = engine::kDefaultRequestTimeoutSeconds;
    std::string proxy_;
    engine::AccessType accessType_ = engine::AccessType::Default;
    engine::PageTransfer* transfer_ = nullptr;
};

} // namespace vigil::forms
