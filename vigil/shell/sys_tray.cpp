#include "vigil/shell/sys_tray.h"

namespace vigil::shell {

TrayMouseEvent DecodeTrayMouse(std::uint32_t mouseMessage) {
    switch (mouseMessage) {
    case 512: // mouse move
        return {TrayMouseEvent::MouseMove, 0};
    case 514: // the left button's release is reported as its press
        return {TrayMouseEvent::MouseDown, 1};
    case 515:
        return {TrayMouseEvent::DoubleClick, 1};
    case 516:
        return {TrayMouseEvent::MouseDown, 2};
    case 517:
        return {TrayMouseEvent::MouseUp, 2};
    case 518:
        return {TrayMouseEvent::DoubleClick, 2};
    default: // 513 (left button down) and everything else
        return {};
    }
}

std::string TipField(const std::string& text) {
    std::string field = text.substr(0, kTipChars - 1);
    field.push_back('\0');
    field.resize(kTipChars, ' ');
    return field;
}

void frmSysTray::Load(std::uintptr_t window, std::uintptr_t ownIcon, const std::string& tip) {
    record_.hWnd = window;
    // The record's id field is 32 bits wide; icon handles fit in it on both builds.
    record_.uID = static_cast<std::uint32_t>(ownIcon);
    record_.hIcon = ownIcon;
    record_.uCallbackMessage = kTrayCallbackMessage;
    record_.szTip = TipField(tip);
    loaded_ = true;
    Notify(NotifyIconAction::Add, NIF_MESSAGE_FLAG | NIF_ICON_FLAG | NIF_TIP_FLAG);
}

void frmSysTray::Unload() {
    if (!loaded_)
        return;
    loaded_ = false;
    shell_.NotifyIcon(NotifyIconAction::Delete, record_);
}

void frmSysTray::Notify(NotifyIconAction action, std::uint32_t flags) {
    record_.uFlags = flags;
    if (loaded_)
        shell_.NotifyIcon(action, record_);
}

std::string frmSysTray::ToolTip() const {
    return record_.szTip.substr(0, record_.szTip.find('\0'));
}

void frmSysTray::SetToolTip(const std::string& sTip) {
    record_.szTip = TipField(sTip);
    Notify(NotifyIconAction::Modify, NIF_TIP_FLAG);
}

void frmSysTray::SetIconHandle(std::uintptr_t hIcon) {
    if (hIcon == record_.hIcon)
        return;
    record_.hIcon = hIcon;
    Notify(NotifyIconAction::Modify, NIF_ICON_FLAG);
}

int frmSysTray::AddMenuItem(const std::string& sCaption, const std::string& sKey, bool bDefault) {
    int index = 0;
    if (item0Used_) {
        items_.emplace_back();
        index = static_cast<int>(items_.size()) - 1;
    }
    item0Used_ = true;
    MenuItem& item = items_[static_cast<std::size_t>(index)];
    item.visible = true;
    item.tag = sKey;
    item.caption = sCaption;
    if (bDefault)
        defaultIndex_ = index;
    return index;
}

void frmSysTray::EnableMenuItem(int lIndex, bool bState) {
    if (InBounds(lIndex))
        items_[static_cast<std::size_t>(lIndex)].enabled = bState;
}

void frmSysTray::RemoveMenuItem(int iIndex) {
    if (!InBounds(iIndex))
        return;
    if (iIndex == 0) {
        items_[0].caption.clear();
        return;
    }
    for (std::size_t i = static_cast<std::size_t>(iIndex); i + 1 < items_.size(); ++i) {
        items_[i].caption = items_[i + 1].caption;
        items_[i].tag = items_[i + 1].tag;
    }
    items_.pop_back();
}

void frmSysTray::SetDefaultMenuIndex(int lIndex) {
    defaultIndex_ = InBounds(lIndex) ? lIndex : 0;
}

void frmSysTray::ShowMenu() {
    shell_.SetForeground();
    std::vector<PopupMenuLine> lines;
    for (const auto& item : items_)
        lines.push_back({item.caption, item.enabled, item.visible});
    // A default left behind by a removed item has no line to draw bold.
    int bold = InBounds(defaultIndex_) ? defaultIndex_ : -1;
    int chosen = shell_.TrackPopupMenu(lines, bold);
    if (InBounds(chosen))
        MenuClick.Raise(chosen, items_[static_cast<std::size_t>(chosen)].tag);
}

void frmSysTray::OnTrayCallback(std::uint32_t mouseMessage) {
    TrayMouseEvent e = DecodeTrayMouse(mouseMessage);
    switch (e.kind) {
    case TrayMouseEvent::MouseMove:
        SysTrayMouseMove.Raise();
        break;
    case TrayMouseEvent::MouseDown:
        SysTrayMouseDown.Raise(e.eButton);
        break;
    case TrayMouseEvent::MouseUp:
        SysTrayMouseUp.Raise(e.eButton);
        break;
    case TrayMouseEvent::DoubleClick:
        SysTrayDoubleClick.Raise(e.eButton);
        break;
    case TrayMouseEvent::None:
        break;
    }
}

} // namespace vigil::shell
