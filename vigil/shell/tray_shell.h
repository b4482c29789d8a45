#pragma once
// Port: what the notification-area icon needs from the platform. The Win32 half passes the
// record to Shell_NotifyIconA and pops the menu up with TrackPopupMenu; tests record the calls.
#include <cstdint>
#include <string>
#include <vector>

namespace vigil::shell {

// The icon record the shell receives, in the shell's terms.
struct NotifyIconRecord {
    std::uintptr_t hWnd = 0;  // window that receives the callback message
    std::uint32_t uID = 0;    // the window's own icon handle, taken at load
    std::uint32_t uFlags = 0; // which of the fields below the shell is to read
    std::uint32_t uCallbackMessage = 0;
    std::uintptr_t hIcon = 0;
    std::string szTip; // always kTipChars characters: text, zero, blanks
};

inline constexpr std::uint32_t NIF_MESSAGE_FLAG = 1;
inline constexpr std::uint32_t NIF_ICON_FLAG = 2;
inline constexpr std::uint32_t NIF_TIP_FLAG = 4;
// The mouse-move window message: the shell sends it with the real mouse message as argument.
inline constexpr std::uint32_t kTrayCallbackMessage = 512;
inline constexpr std::size_t kTipChars = 64;

enum class NotifyIconAction { Add, Modify, Delete };

// One line of the pop-up menu as the platform draws it.
struct PopupMenuLine {
    std::string caption; // "-" is a separator line
    bool enabled = true;
    bool visible = true;
};

class TrayShell {
public:
    virtual ~TrayShell() = default;
    // Shell_NotifyIconA; its result is not examined.
    virtual void NotifyIcon(NotifyIconAction action, const NotifyIconRecord& record) = 0;
    virtual void SetForeground() = 0;
    // Pops the menu up at the mouse position with right-button tracking and waits for the
    // choice: the chosen line's index, or -1 when the menu was dismissed. A bold line is
    // drawn for boldIndex unless it is negative.
    virtual int TrackPopupMenu(const std::vector<PopupMenuLine>& lines, int boldIndex) = 0;
};

} // namespace vigil::shell
