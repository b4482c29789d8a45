#pragma once
// Where the monitor keeps its settings: every key below HKEY_LOCAL_MACHINE.
namespace vigil::shell {

// All options and the site list, one text value each.
inline constexpr const char* kSettingsKey = "Software\\Vigil Settings";
// Written by the installer; only Path (the installation folder) is read.
inline constexpr const char* kLocaleKey = "Software\\Vigil Locale";
// The log-on start entry, value "Vigil".
inline constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValue = "Vigil";

// The site slots a save writes: 0 to 100, whatever the list's length.
inline constexpr int kSiteSlots = 101;

} // namespace vigil::shell
