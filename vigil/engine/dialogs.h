#pragma once
// Port: message boxes shown to the user, modal, as the platform shows them.
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
};

} // namespace vigil::engine
