#pragma once
// The real main window and the hidden Settings window, laid out and bound to their forms.
#include "vigil/forms/windows.h"
#include "vigil/shell/win32/form_window.h"

#include <memory>

namespace vigil::shell {

class MainWindow {
public:
    MainWindow(forms::Windows& windows, HICON icon, std::function<void()> onClose);

    HWND Handle() const { return main_.Handle(); }

private:
    void LayOutDomains(forms::Form1& f);

    FormWindow main_;
    FormWindow settings_;
};

} // namespace vigil::shell
