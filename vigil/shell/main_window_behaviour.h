#pragma once
// What the main window's own controls do: the tab strip shows the page of its selected tab,
// the four picture buttons of "Options" show their sub-page, the interval and port fields
// take digits only, the "..." buttons choose a sound file, "Apply" stores the log-on start and
// the option check boxes save the settings when clicked.
#include "vigil/engine/file_system.h"
#include "vigil/forms/windows.h"
#include "vigil/shell/settings_store.h"
#include "vigil/shell/shell_ports.h"

namespace vigil::shell {

// webLink opens kVendorHomePage, as the tray menu does.
inline constexpr const char* kProgramFile = "Vigil.exe";

// The key filter of intervalMins, intervalHours and proxyPort: the digits, Backspace (8) and
// Enter (13) pass; any other key becomes 0, which drops it.
int DigitsOnly(int key);

class MainWindowBehaviour {
public:
    MainWindowBehaviour(forms::Form1& form, SettingsPort& settings, FileOpenDialog& dialog,
                        ShellOpen& shell, const engine::FileSystem& files);
    MainWindowBehaviour(const MainWindowBehaviour&) = delete;
    MainWindowBehaviour& operator=(const MainWindowBehaviour&) = delete;

    void TabStrip1_Click();
    void ShowSubPage(forms::Frame& page);
    void Browse(forms::TextBox& field);
    void windowsApply_Click();
    void webLink_Click();

private:
    forms::Form1& f_;
    SettingsPort& settings_;
    FileOpenDialog& dialog_;
    ShellOpen& shell_;
    const engine::FileSystem& files_;
};

} // namespace vigil::shell
