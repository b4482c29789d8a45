#pragma once
// Ports of the report and error windows: the shell's "open" of a document or address, the
// printer, and the store of the windows' screen positions.
#include "vigil/forms/control.h"

#include <optional>
#include <string>

namespace vigil::notify {

// Whose window owns what the shell opens.
enum class ShellOwner { MainWindow, ErrorWindow };

class ShellOpener {
public:
    virtual ~ShellOpener() = default;
    // Opens a document or address with the verb "open", shown normally (the browser shows a
    // page or a site). Failures are the shell's to report.
    virtual void Open(const std::string& target, ShellOwner owner) = 0;
};

// The printer dialog's flags the report prints with: return a device context (0x100), no page
// numbers (0x8).
inline constexpr unsigned kPrintDialogFlags = 264;

class ReportPrinter {
public:
    virtual ~ReportPrinter() = default;
    // Shows the printer dialog with these flags; false when the user cancelled (or there is no
    // printer). On true the chosen device is kept for Print.
    virtual bool ChoosePrinter(unsigned flags) = 0;
    // Prints the text to the device chosen last, then lets it go; errors are ignored.
    virtual void Print(const std::string& text) = 0;
};

// A window's remembered place on the screen (left and top, twips).
struct WindowPosition {
    double left = 0;
    double top = 0;
    bool operator==(const WindowPosition&) const = default;
};

class WindowPlaceStore {
public:
    virtual ~WindowPlaceStore() = default;
    virtual std::optional<WindowPosition> Load(const std::string& applicationName) = 0;
    virtual void Save(const std::string& applicationName, const WindowPosition& position) = 0;
};

} // namespace vigil::notify
