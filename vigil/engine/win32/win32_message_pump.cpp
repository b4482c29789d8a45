#include "vigil/engine/win32/win32_message_pump.h"

namespace vigil::engine::win32 {

void Win32MessagePump::DoEvents() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quitRequested_ = true;
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (preTranslate_ && preTranslate_(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

} // namespace vigil::engine::win32
