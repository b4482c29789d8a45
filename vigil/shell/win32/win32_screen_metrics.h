#pragma once
// The primary screen's size in twips, from the system metrics and the screen's DPI.
#include "vigil/shell/screen_metrics.h"

namespace vigil::shell::win32 {

class Win32ScreenMetrics : public ScreenMetrics {
public:
    double WidthTwips() const override;
    double HeightTwips() const override;
};

} // namespace vigil::shell::win32
