#include "vigil/shell/win32/win32_screen_metrics.h"

#include <windows.h>

namespace vigil::shell::win32 {
namespace {

// 1440 twips an inch.
double Twips(int pixels, int index) {
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, index) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    if (dpi <= 0)
        dpi = 96;
    return pixels * 1440.0 / dpi;
}

} // namespace

double Win32ScreenMetrics::WidthTwips() const {
    return Twips(GetSystemMetrics(SM_CXSCREEN), LOGPIXELSX);
}

double Win32ScreenMetrics::HeightTwips() const {
    return Twips(GetSystemMetrics(SM_CYSCREEN), LOGPIXELSY);
}

} // namespace vigil::shell::win32
