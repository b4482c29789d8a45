#pragma once
// The real main window Form1, made from its dialog templates and bound to its form: the tab
// strip, the six pages, the four option sub-pages, the three connection-type frames, the
// "Domains" frame, the action buttons and the timers. No behaviour lives here.
#include "vigil/forms/win32/dialog_window.h"
#include "vigil/forms/windows.h"

#include <array>
#include <functional>

namespace vigil::shell::win32 {

class MainWindow : public forms::win32::DialogWindow {
public:
    // onClose: the close request (close box, system menu, log-off).
    MainWindow(forms::Form1& form, HICON icon, std::function<void()> onClose);

    HWND Page(int templateId) const; // a page, sub-page or frame by its template id

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    forms::Form1& form_;
    std::array<forms::win32::DialogWindow, 6> pages_;
    std::array<forms::win32::DialogWindow, 4> subPages_;
    std::array<forms::win32::DialogWindow, 3> modeFrames_;
};

} // namespace vigil::shell::win32
