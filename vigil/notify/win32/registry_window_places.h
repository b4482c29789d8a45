#pragma once
// Window positions in the registry of the current user: key "Software\<application name>",
// string values "Left" and "Top" (twips, decimal).
#include "vigil/notify/report_ports.h"

namespace vigil::notify::win32 {

class RegistryWindowPlaces : public WindowPlaceStore {
public:
    std::optional<WindowPosition> Load(const std::string& applicationName) override;
    void Save(const std::string& applicationName, const WindowPosition& position) override;
};

// The key a window's position lives in, below HKEY_CURRENT_USER.
std::string WindowPlaceKey(const std::string& applicationName);

} // namespace vigil::notify::win32
