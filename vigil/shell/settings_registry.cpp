// The named registry procedures of the settings store and the Run entry.
#include "vigil/shell/registry_layout.h"
#include "vigil/shell/settings_store.h"
#include "vigil/shell/settings_text.h"

namespace vigil::shell {

SettingsStore::SettingsStore(forms::Windows& windows, RegistryStore& registry,
                             const ScreenMetrics& screen)
    : windows_(windows), registry_(registry), screen_(screen) {}

void SettingsStore::WriteSetting(const std::string& name, const std::string& text) {
    registry_.CreateKey(kSettingsKey);
    registry_.WriteValue(kSettingsKey, name, text);
}

std::string SettingsStore::ReadSetting(const std::string& name) {
    return registry_.ReadValue(kSettingsKey, name);
}

std::string SettingsStore::ReadLocaleSetting(const std::string& name) {
    return registry_.ReadValue(kLocaleKey, name);
}

std::string SettingsStore::ReadRunEntry(const std::string& name) {
    return registry_.ReadValue(kRunKey, name);
}

std::optional<std::string> RunEntryPath(const std::string& installPath) {
    if (IsNoValue(installPath))
        return std::nullopt;
    // The installer's Path ends with one character past the folder name.
    std::string folder = TrimBlanks(installPath);
    if (!folder.empty())
        folder.pop_back();
    if (folder.empty() || folder.back() != '\\')
        folder = TrimBlanks(folder) + "\\";
    return TrimBlanks(folder) + "Vigil.EXE";
}

bool SettingsStore::AddRunEntry() {
    auto entry = RunEntryPath(ReadLocaleSetting("Path"));
    if (!entry)
        return false;
    // The Run key always exists: no create-key call for it.
    return registry_.WriteValue(kRunKey, kRunValue, *entry);
}

void SettingsStore::RemoveRunEntry(const std::string& path) {
    std::string name = FileNamePart(path);
    // An empty name would be the key's default value, which is not ours to delete.
    if (name.size() <= 4)
        return;
    name.resize(name.size() - 4);
    registry_.DeleteValue(kRunKey, name);
}

std::string FileNamePart(const std::string& path) {
    auto slash = path.rfind('\\');
    if (slash == std::string::npos)
        return path.size() > 1 ? path.substr(1) : std::string();
    return path.substr(slash + 1);
}

} // namespace vigil::shell
