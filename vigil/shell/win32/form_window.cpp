#include "vigil/shell/win32/form_window.h"

#include <string>

namespace vigil::shell {

namespace {
constexpr char kClassName[] = "VigilFormWindow";

void RegisterFormClass(HINSTANCE instance, WNDPROC proc) {
    WNDCLASSEXA existing{sizeof(existing)};
    if (GetClassInfoExA(instance, kClassName, &existing))
        return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    RegisterClassExA(&wc);
}
} // namespace

FormWindow::FormWindow(forms::Form& form, int clientWidth, int clientHeight, HICON icon,
                       std::function<void()> onClose)
    : form_(form), onClose_(std::move(onClose)) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterFormClass(instance, &FormWindow::Proc);
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT rect{0, 0, clientWidth, clientHeight};
    AdjustWindowRect(&rect, style, FALSE);
    hwnd_ = CreateWindowExA(0, kClassName, form.Caption().c_str(), style, CW_USEDEFAULT,
                            CW_USEDEFAULT, rect.right - rect.left, rect.bottom - rect.top, nullptr,
                            nullptr, instance, this);
    if (icon) {
        SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        font_ = CreateFontIndirectA(&metrics.lfMessageFont);
}

FormWindow::~FormWindow() {
    if (hwnd_) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    if (font_)
        DeleteObject(font_);
}

HWND FormWindow::AddChild(const char* className, const char* text, DWORD style, int id, int x,
                          int y, int width, int height, DWORD exStyle) {
    HWND child = CreateWindowExA(
        exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, hwnd_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(child, WM_SETFONT,
                 reinterpret_cast<WPARAM>(font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    return child;
}

void FormWindow::BindForm() {
    binding_.BindForm(hwnd_, form_);
}

LRESULT CALLBACK FormWindow::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && self->hwnd_ == hwnd)
        return self->Handle(msg, wParam, lParam);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT FormWindow::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        if (binding_.OnCommand(wParam, lParam))
            return 0;
        break;
    case WM_NOTIFY:
        if (binding_.OnNotify(lParam))
            return 0;
        break;
    case WM_CLOSE:
        if (onClose_)
            onClose_();
        else
            form_.Hide();
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

} // namespace vigil::shell
