#pragma once
// The status graph window: the up/down figures of one chosen site, refreshed every second.
// Its drop-down mirrors the site list. The bar is a red rectangle with a green one over it
// whose width is the uptime share of the red one's.
#include "vigil/forms/controls.h"

namespace vigil::forms {

inline constexpr double kUptimeBarTwips = 4935; // full length of the bar

struct uptime : Form {
    uptime() : Form("uptime", "Vigil - Uptime/Downtime status") {}

    Label Label1{"Label1", "Select a web site"};
    ComboBox urlDropList{"urlDropList", {}, "Select web site"};
    Label Up{"Up", "Uptime/Downtime"};
    Shape Shape1{"Shape1", {120, 360, 5055, 435}, false, 0x000000};                 // outline
    Shape Shape3{"Shape3", {180, 420, kUptimeBarTwips, 315}, true, 0xFF0000};       // downtime
    Shape uptimeBar{"uptimeBar", {180, 420, kUptimeBarTwips, 315}, true, 0x00FF00}; // uptime
    Label barText{"barText"};
    Timer Timer1{"Timer1", 1000, true};
};

} // namespace vigil::forms
