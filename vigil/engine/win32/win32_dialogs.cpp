#include "vigil/engine/win32/win32_dialogs.h"

namespace vigil::engine::win32 {

MsgBoxResult Win32Dialogs::MsgBox(const std::string& text, const std::string& title,
                                  MsgBoxButtons buttons) {
    UINT style = buttons == MsgBoxButtons::OkCancel ? MB_OKCANCEL : MB_OK;
    int answer = MessageBoxA(owner_, text.c_str(), title.c_str(), style);
    return answer == IDOK ? MsgBoxResult::Ok : MsgBoxResult::Cancel;
}

} // namespace vigil::engine::win32
