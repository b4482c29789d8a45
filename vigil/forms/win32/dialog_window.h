#pragma once
// A modeless dialog made from a template of the resource script and bound to its controls by
// id. Top-level dialogs stand for a form; child dialogs (DS_CONTROL) are the pages and frames
// inside one and share its binding, since the ids are unique across the whole window.
#include "vigil/forms/win32/control_binding.h"

#include <windows.h>

#include <functional>

namespace vigil::forms::win32 {

class DialogWindow {
public:
    DialogWindow() = default;
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;
    virtual ~DialogWindow();

    // Creates the dialog (hidden unless the template says otherwise). A child dialog gets the
    // id childId and routes its children's notifications to binding (the parent's); a
    // top-level one uses its own.
    HWND Create(int templateId, HWND parent = nullptr, ControlBinding* binding = nullptr,
                int childId = 0);

    HWND Handle() const { return hwnd_; }
    ControlBinding& Binding() { return *binding_; }

    // What the close box does (a top-level dialog); the default hides the form given.
    void OnClose(std::function<void()> onClose) { onClose_ = std::move(onClose); }
    void BindForm(Form& form);

protected:
    // Messages the binding did not handle; return true when handled.
    virtual bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result);

private:
    static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT msg, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    ControlBinding ownBinding_;
    ControlBinding* binding_ = &ownBinding_;
    Form* form_ = nullptr;
    std::function<void()> onClose_;
};

// Puts window after insertAfter in the z-order, which is the tab order of a dialog.
void PlaceAfter(HWND window, HWND insertAfter);

} // namespace vigil::forms::win32
