#pragma once
// The notification-area icon component: one icon, its tooltip and its pop-up menu, with the
// shell's mouse notifications turned into events. The Win32 half owns the hidden window and
// hands the shell's callbacks to OnTrayCallback.
#include "vigil/forms/event.h"
#include "vigil/shell/tray_shell.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vigil::shell {

// What one mouse message over the icon means.
struct TrayMouseEvent {
    enum Kind { None, MouseMove, MouseDown, MouseUp, DoubleClick } kind = None;
    int eButton = 0; // 1 left, 2 right
    bool operator==(const TrayMouseEvent&) const = default;
};
TrayMouseEvent DecodeTrayMouse(std::uint32_t mouseMessage);

// Cuts a tip to the record's field: at most 63 characters, a zero, blanks up to 64.
std::string TipField(const std::string& text);

class frmSysTray {
public:
    explicit frmSysTray(TrayShell& shell) : shell_(shell) {}
    frmSysTray(const frmSysTray&) = delete;
    frmSysTray& operator=(const frmSysTray&) = delete;
    // The icon goes with the component, whichever way the program ends.
    ~frmSysTray() { Unload(); }

    // Fills the record for the window and its own icon and adds the icon.
    void Load(std::uintptr_t window, std::uintptr_t ownIcon, const std::string& tip);
    // Deletes the icon (once; later calls do nothing).
    void Unload();
    bool Loaded() const { return loaded_; }

    std::string ToolTip() const;
    void SetToolTip(const std::string& sTip);
    std::uintptr_t IconHandle() const { return record_.hIcon; }
    void SetIconHandle(std::uintptr_t hIcon);

    int AddMenuItem(const std::string& sCaption, const std::string& sKey, bool bDefault = false);
    void EnableMenuItem(int lIndex, bool bState);
    void RemoveMenuItem(int iIndex);
    int DefaultMenuIndex() const { return defaultIndex_; }
    void SetDefaultMenuIndex(int lIndex);
    void ShowMenu();

    // The shell's callback: the mouse message it reports for the icon.
    void OnTrayCallback(std::uint32_t mouseMessage);

    struct MenuItem {
        std::string caption;
        std::string tag; // the item's key
        bool enabled = true;
        bool visible = true;
    };
    // The menu-item array; element 0 exists from the start.
    const std::vector<MenuItem>& mnuSysTray() const { return items_; }
    const NotifyIconRecord& Record() const { return record_; }

    forms::Event<int> SysTrayMouseDown;
    forms::Event<int> SysTrayMouseUp;
    forms::Event<> SysTrayMouseMove;
    forms::Event<int> SysTrayDoubleClick;
    forms::Event<int, std::string> MenuClick;

private:
    bool InBounds(int index) const { return index >= 0 && index < static_cast<int>(items_.size()); }
    void Notify(NotifyIconAction action, std::uint32_t flags);

    TrayShell& shell_;
    NotifyIconRecord record_;
    bool loaded_ = false;
    std::vector<MenuItem> items_{MenuItem{{}, {}, true, false}};
    bool item0Used_ = false;
    int defaultIndex_ = 0;
};

} // namespace vigil::shell
