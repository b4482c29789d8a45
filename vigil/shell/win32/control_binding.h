#pragma once
// Binds headless controls to real child windows, both ways: a change of the control object
// updates the window, and the user's input in the window updates the control object (which
// raises its events). No behaviour lives here.
#include "vigil/forms/controls.h"

#include <windows.h>

#include <functional>
#include <map>

namespace vigil::shell {

class ControlBinding {
public:
    void BindForm(HWND hwnd, forms::Form& form);
    void BindButton(HWND hwnd, forms::Button& button);
    void BindTextBox(HWND hwnd, forms::TextBox& box);
    void BindStatic(HWND hwnd, forms::Control& control); // frames and labels: caption only
    void BindListView(HWND hwnd, forms::ListView& view);
    // A read-only view of a text that grows at its end: appended text is added at the end of
    // the edit control (not re-sent whole) and the caret follows the control object's.
    void BindRichText(HWND hwnd, forms::RichText& text);

    // Routes a parent's WM_COMMAND and WM_NOTIFY to the bound control; true when handled.
    bool OnCommand(WPARAM wParam, LPARAM lParam);
    bool OnNotify(LPARAM lParam);

private:
    void BindCommonState(HWND hwnd, forms::Control& control, bool mirrorCaption);
    void FillListView(HWND hwnd, const forms::ListView& view);

    std::map<int, std::function<void(int)>> commandHandlers_; // by child id, gets notify code
    std::map<int, std::function<void(const NMHDR*)>> notifyHandlers_;
    bool pushing_ = false; // true while the binding itself writes to a window
};

// The list's scale unit is the point; columns are sized in pixels of the screen.
int PointsToPixels(double points);

} // namespace vigil::shell
