#pragma once
// The page loader under Win32: the page comes through WinINet on a worker thread (the engine's
// transfer) while the user-interface thread keeps dispatching messages.
#include "vigil/engine/win32/wininet_transfer.h"
#include "vigil/notify/page_loader.h"

namespace vigil::notify::win32 {

class Win32PageLoader : public PageLoader {
public:
    explicit Win32PageLoader(engine::win32::Win32MessagePump& pump,
                             int timeoutSeconds = kDefaultPageLoadTimeoutSeconds)
        : transfer_(pump), loader_(transfer_, timeoutSeconds) {}

    void Navigate(const std::string& address, const Completed& completed) override {
        loader_.Navigate(address, completed);
    }
    const std::string& LocationName() const override { return loader_.LocationName(); }

private:
    engine::win32::WinInetTransfer transfer_;
    TransferPageLoader loader_;
};

} // namespace vigil::notify::win32
