#pragma once
// DoEvents under Win32: dispatches every pending message of this thread, then returns. A
// WM_QUIT met on the way is posted again for the main loop and remembered, so that a waiting
// fetch stops pumping instead of spinning on it.
#include "vigil/engine/message_pump.h"

#include <windows.h>

#include <functional>

namespace vigil::engine::win32 {

class Win32MessagePump : public MessagePump {
public:
    // preTranslate: a message filter such as IsDialogMessage; true means it was handled.
    explicit Win32MessagePump(std::function<bool(MSG&)> preTranslate = {})
        : preTranslate_(std::move(preTranslate)) {}

    void DoEvents() override;
    bool QuitRequested() const { return quitRequested_; }

private:
    std::function<bool(MSG&)> preTranslate_;
    bool quitRequested_ = false;
};

} // namespace vigil::engine::win32
