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
    bool StillExecuting() const override { return current_ != nullptr; }
    // Ends the transfer at once: the instance is free for the next request straight away (a
    // handler may start one before the cancelled wait has unwound), and that wait returns a
    // failure when it next looks.
    void Cancel() override;

    struct Job; // shared by the caller and the worker thread

private:
    Win32MessagePump& pump_;
    std::shared_ptr<Job> current_; // the transfer in progress, if any
};

// The address as WinINet needs it: one without a scheme is taken as plain HTTP.
std::string AddressForTransfer(const std::string& address);

} // namespace vigil::engine::win32
