#include "vigil/engine/win32/win32_dialogs.h"

#include <commdlg.h>

namespace vigil::engine::win32 {

MsgBoxResult Win32Dialogs::MsgBox(const std::string& text, const std::string& title,
                                  MsgBoxButtons buttons) {
    UINT style = buttons == MsgBoxButtons::OkCancel ? MB_OKCANCEL : MB_OK;
    int answer = MessageBoxA(owner_, text.c_str(), title.c_str(), style);
    return answer == IDOK ? MsgBoxResult::Ok : MsgBoxResult::Cancel;
}

std::string Win32Dialogs::SaveFileName(const std::string& filter) {
    // "Text (*.txt)|*.txt" becomes the dialog's pairs of NUL-ended texts, ended by one more.
    std::string pairs = filter;
    for (char& c : pairs)
        if (c == '|')
            c = '\0';
    pairs.append(2, '\0');
    char path[MAX_PATH] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner_;
    dialog.lpstrFilter = pairs.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    // The working directory is the installation folder the relative files rely on, so the
    // dialog must not move it.
    if (!GetSaveFileNameA(&dialog))
        return {};
    return path;
}

} // namespace vigil::engine::win32
