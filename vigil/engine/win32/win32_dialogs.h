#pragma once
// Message boxes through user32 and the save dialog through comdlg32, owned by the window the
// shell names (or none).
#include "vigil/engine/dialogs.h"

#include <windows.h>

namespace vigil::engine::win32 {

class Win32Dialogs : public Dialogs {
public:
    void SetOwner(HWND owner) { owner_ = owner; }
    MsgBoxResult MsgBox(const std::string& text, const std::string& title,
                        MsgBoxButtons buttons) override;
    std::string SaveFileName(const std::string& filter) override;

private:
    HWND owner_ = nullptr;
};

} // namespace vigil::engine::win32
