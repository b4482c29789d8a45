#pragma once
// Ports of the shell's behaviour: what the main window and the life cycle reach outside the
// forms through. Win32 fills them in win32/, host tests with fakes.
#include "vigil/forms/common_dialog.h"

#include <optional>
#include <string>

namespace vigil::shell {

// The settings store as the window behaviour and the life cycle call it.
class SettingsPort {
public:
    virtual ~SettingsPort() = default;
    virtual void LoadSettings() = 0;
    virtual void SaveSettings() = 0;
    // A value of "Software\Vigil Locale"; empty or "Error" when none is stored.
    virtual std::string ReadLocaleSetting(const std::string& name) = 0;
    virtual void AddRunEntry() = 0;
    virtual void RemoveRunEntry(const std::string& path) = 0;
};

// The common dialog for opening a file: true when the user picked one, whose name is then the
// dialog's FileName; false when the user cancelled or the dialog failed.
class FileOpenDialog {
public:
    virtual ~FileOpenDialog() = default;
    virtual bool ShowOpen(forms::CommonDialog& dialog) = 0;
};

// Asks the shell to open an address or document ("open" verb, normal window).
class ShellOpen {
public:
    virtual ~ShellOpen() = default;
    virtual void Open(const std::string& address) = 0;
};

// What the life cycle needs of the process and the platform.
class ProcessPort {
public:
    virtual ~ProcessPort() = default;
    // True when another instance of the program runs; the first caller claims the name.
    virtual bool AnotherInstanceRuns() = 0;
    virtual bool ChangeFolder(const std::string& path) = 0;
    virtual std::string CurrentFolder() const = 0;
    // The whole text of a file in the current folder, or nothing when it can't be read.
    virtual std::optional<std::string> ReadTextFile(const std::string& name) = 0;
    // SetTopMostWindow(main window, true) then (main window, false): brings it to the front.
    virtual void BringMainWindowToFront() = 0;
    // Ends the message loop, which ends the program once the windows are gone.
    virtual void EndMessageLoop() = 0;
    // Ends the program at once, without unloading anything.
    virtual void EndProgramNow() = 0;
};

} // namespace vigil::shell
