#include "vigil/forms/win32/dialog_window.h"

namespace vigil::forms::win32 {

DialogWindow::~DialogWindow() {
    if (hwnd_) {
        HWND hwnd = hwnd_;
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        hwnd_ = nullptr;
        DestroyWindow(hwnd);
    }
}

HWND DialogWindow::Create(int templateId, HWND parent, ControlBinding* binding, int childId) {
    if (binding)
        binding_ = binding;
    HWND hwnd = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), parent,
                                   &DialogWindow::Proc, reinterpret_cast<LPARAM>(this));
    if (hwnd && childId)
        SetWindowLongPtrA(hwnd, GWLP_ID, childId);
    return hwnd;
}

void DialogWindow::BindForm(Form& form) {
    form_ = &form;
    binding_->BindForm(hwnd_, form);
}

bool DialogWindow::OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) {
    return false;
}

INT_PTR CALLBACK DialogWindow::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        auto* self = reinterpret_cast<DialogWindow*>(lParam);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    }
    auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!self || self->hwnd_ != hwnd)
        return FALSE;
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
        return FALSE;
    }
    return self->Handle(msg, wParam, lParam);
}

INT_PTR DialogWindow::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    INT_PTR result = 0;
    switch (msg) {
    case WM_INITDIALOG:
        return FALSE; // the binding sets the focus where the window wants it
    case WM_COMMAND:
        if (binding_->OnCommand(wParam, lParam))
            return TRUE;
        if (LOWORD(wParam) == IDCANCEL && lParam == 0 && !GetParent(hwnd_)) {
            // Escape in a top-level dialog is its close box.
            SendMessageA(hwnd_, WM_CLOSE, 0, 0);
            return TRUE;
        }
        break;
    case WM_NOTIFY:
        if (binding_->OnNotify(lParam))
            return TRUE;
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (binding_->OnScroll(lParam))
            return TRUE;
        break;
    case WM_TIMER:
        if (binding_->OnTimer(hwnd_, wParam))
            return TRUE;
        break;
    default:
        break;
    }
    if (OnMessage(msg, wParam, lParam, result)) {
        SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
        return TRUE;
    }
    if (msg == WM_CLOSE) {
        if (onClose_)
            onClose_();
        else if (form_)
            form_->Hide();
        return TRUE;
    }
    return FALSE;
}

void PlaceAfter(HWND window, HWND insertAfter) {
    SetWindowPos(window, insertAfter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

} // namespace vigil::forms::win32
