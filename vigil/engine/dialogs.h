#pragma once
// Port: message boxes and the file dialogs shown to the user, modal, as the platform shows
// them.
#include <string>

namespace vigil::engine {

enum class MsgBoxButtons { Ok, OkCancel };
enum class MsgBoxResult { Ok, Cancel };

inline constexpr const char* kMsgBoxTitle = "Vigil";

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual MsgBoxResult MsgBox(const std::string& text, const std::string& title,
                                MsgBoxButtons buttons) = 0;
    // The save-file dialog with a filter of "Description|*.ext|..." pairs: the chosen path, or
    // an empty text when the user cancelled (or no dialog could be shown).
    virtual std::string SaveFileName(const std::string& /*filter*/) { return {}; }
};

} // namespace vigil::engine
