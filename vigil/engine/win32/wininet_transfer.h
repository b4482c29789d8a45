#pragma once
// The page transfer through WinINet. The request runs on a worker thread of its own while the
// calling (user-interface) thread waits in MsgWaitForMultipleObjectsEx and keeps dispatching
// messages. The whole transfer is bounded by the request time-out; on time-out or Cancel the
// caller returns at once and the worker's handles are closed, which ends it.
#include "vigil/engine/page_transfer.h"
#include "vigil/engine/win32/win32_message_pump.h"

#include <cstddef>
#include <memory>

namespace vigil::engine::win32 {

// A body larger than this is refused rather than exhausting a 32-bit address space.
inline constexpr std::size_t kMaxBodyBytes = 128u * 1024u * 1024u;

class WinInetTransfer : public PageTransfer {
public:
    explicit WinInetTransfer(Win32MessagePump& pump) : pump_(pump) {}
    ~WinInetTransfer() override;

    TransferResult Open(const TransferRequest& request) override;
    bool StillExecuting() const override { return executing_; }
    void Cancel() override { cancelRequested_ = true; }

    struct Job; // shared by the caller and the worker thread

private:
    Win32MessagePump& pump_;
    bool executing_ = false;
    bool cancelRequested_ = false;
    std::shared_ptr<Job> current_;
};

// The address as WinINet needs it: one without a scheme is taken as plain HTTP.
std::string AddressForTransfer(const std::string& address);

} // namespace vigil::engine::win32
