#include "vigil/shell/show_switch.h"

#include <functional>
#include <map>

namespace vigil::shell {

std::optional<std::string> ShowSwitch(const std::string& commandLine) {
    static const std::string kSwitch = "/show:";
    auto at = commandLine.find(kSwitch);
    if (at == std::string::npos)
        return std::nullopt;
    auto start = at + kSwitch.size();
    auto end = commandLine.find_first_of(" \t\"", start);
    return commandLine.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

namespace {

void SelectTab(forms::Form1& f, const char* caption) {
    for (int i = 0; i < f.TabStrip1.TabCount(); ++i)
        if (f.TabStrip1.TabCaption(i) == caption)
            f.TabStrip1.ClickTab(i);
}

// The connection page's frame of one type, as choosing the type shows it.
void ShowModeFrame(forms::Form1& f, forms::Frame& frame) {
    SelectTab(f, forms::kTabConnection);
    for (forms::Frame* each : {&f.frmDialup, &f.frmProxy, &f.frmIE})
        each->SetVisible(each == &frame);
}

} // namespace

bool ShowView(forms::Windows& w, const std::string& view) {
    auto& f = w.form1;
    const std::map<std::string, std::function<void()>> views = {
        {"monitor", [&] { SelectTab(f, forms::kTabMonitor); }},
        {"options", [&] { SelectTab(f, forms::kTabOptions); }},
        {"options.connection", [&] { SelectTab(f, forms::kTabOptions), f.Command6.Click(); }},
        {"options.startup", [&] { SelectTab(f, forms::kTabOptions), f.Command7.Click(); }},
        {"options.reporting", [&] { SelectTab(f, forms::kTabOptions), f.Command8.Click(); }},
        {"options.audio", [&] { SelectTab(f, forms::kTabOptions), f.Command9.Click(); }},
        {"connection", [&] { SelectTab(f, forms::kTabConnection); }},
        {"connection.dialup", [&] { ShowModeFrame(f, f.frmDialup); }},
        {"connection.proxy", [&] { ShowModeFrame(f, f.frmProxy); }},
        {"connection.ie", [&] { ShowModeFrame(f, f.frmIE); }},
        {"schedule", [&] { SelectTab(f, forms::kTabSchedule); }},
        {"notification", [&] { SelectTab(f, forms::kTabNotification); }},
        {"about", [&] { SelectTab(f, forms::kTabAbout); }},
        {"settings", [&] { w.settings.Show(); }},
        {"report", [&] { w.reportWindow.Show(); }},
        {"errors", [&] { w.errorsWindow.Show(); }},
        {"errors.expanded",
         [&] {
             w.errorsWindow.SetHeight(forms::kErrorsExpandedHeight);
             w.errorsWindow.Show();
         }},
        {"uptime", [&] { w.uptimeWindow.Show(); }},
        {"emailer", [&] { w.emailer.Show(); }},
        {"alert", [&] { w.alertWindow.Show(); }},
        {"splash",
         [&] {
             w.splashWindow.Timer1.SetEnabled(false); // stays until photographed
             w.form1.Hide(); // alone, so no window manager's stacking can cover it
             w.splashWindow.Show();
         }},
    };
    auto it = views.find(view);
    if (it == views.end())
        return false;
    it->second();
    return true;
}

} // namespace vigil::shell
