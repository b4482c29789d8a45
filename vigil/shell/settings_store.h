#pragma once
// The settings store: every option, the main window's position and the site list, moved
// between the registry and the controls of the windows, which are the settings' only home in
// memory. Also the log-on entry in the Run key.
#include "vigil/forms/windows.h"
#include "vigil/shell/registry_store.h"
#include "vigil/shell/screen_metrics.h"

#include <optional>
#include <string>

namespace vigil::shell {

// The load-in-progress flag that the hidden field buffer holds while the settings load.
inline constexpr const char* kImporting = "Importing...";
// The only site of a list that loads empty, as on the first start.
inline constexpr const char* kVendorHomePage = "http://www.tessaly.co.uk/";

class SettingsStore {
public:
    SettingsStore(forms::Windows& windows, RegistryStore& registry, const ScreenMetrics& screen);

    // Reads the whole set into the controls; every step may fail on its own and the load goes
    // on with the next.
    void LoadSettings();
    // Writes the whole set from the controls; does nothing while the settings load.
    void SaveSettings();

    // Creates the settings key (the result is ignored) and writes text as a string value.
    void WriteSetting(const std::string& name, const std::string& text);
    std::string ReadSetting(const std::string& name);
    std::string ReadLocaleSetting(const std::string& name);
    std::string ReadRunEntry(const std::string& name);
    // Writes the Run value from the installer's Path; false (and nothing written) when Path
    // is not stored, since there is then no folder to start the program from.
    bool AddRunEntry();
    // Deletes the Run value named by the file name of path without its last four characters.
    void RemoveRunEntry(const std::string& path);

private:
    void LoadSites();
    void AppendSite(const std::string& address, const std::string& email1,
                    const std::string& email2);
    void LoadOptions();
    void ApplyPosition(const std::string& name, bool top);
    void ShowConnectionFrame();

    forms::Windows& windows_;
    RegistryStore& registry_;
    const ScreenMetrics& screen_;
};

// The part of path after its last "\"; without any "\", the text from its second character.
std::string FileNamePart(const std::string& path);
// The Run value's text built from the installer's Path: nothing when Path is not stored.
std::optional<std::string> RunEntryPath(const std::string& installPath);

} // namespace vigil::shell
