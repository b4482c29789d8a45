#pragma once
// A top-level window bound to a headless form: routes its children's notifications to a
// ControlBinding and turns the close box into the form's close request.
#include "vigil/shell/win32/control_binding.h"

#include <windows.h>

#include <functional>

namespace vigil::shell {

class FormWindow {
public:
    // onClose: what a close request does; the default hides the form.
    FormWindow(forms::Form& form, int clientWidth, int clientHeight, HICON icon,
               std::function<void()> onClose = {});
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;
    ~FormWindow();

    HWND Handle() const { return hwnd_; }
    ControlBinding& Binding() { return binding_; }

    // Creates a child control at the given place in client pixels, in the dialog font.
    HWND AddChild(const char* className, const char* text, DWORD style, int id, int x, int y,
                  int width, int height, DWORD exStyle = 0);

    // Shows or hides the window as the form says; call once all children are bound.
    void BindForm();

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);

    forms::Form& form_;
    std::function<void()> onClose_;
    ControlBinding binding_;
    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr;
};

} // namespace vigil::shell
