#pragma once
// Self-registration from a table: string values under HKEY_CLASSES_ROOT written in order, keys
// removed whole, and the type library carried in the module.
#include <windows.h>

#include <span>
#include <string>

namespace common::win32 {

struct RegistryEntry {
    std::string key;  // below HKEY_CLASSES_ROOT
    const char* name; // null: the key's default value
    std::string value;
};

// Writes the entries in order (REG_SZ). At the first failure the keys this call created are
// removed again, newest first, and the result is false.
bool WriteRegistryEntries(std::span<const RegistryEntry> entries);
// Removes each key with all it holds; a key already gone is fine.
void RemoveRegistryKeys(std::span<const std::string> keys);

// Registers the type library in the module's own file (first TYPELIB resource).
HRESULT RegisterModuleTypeLib();
// Unregisters the type library that the module carries, by its own identifier and version.
HRESULT UnregisterModuleTypeLib();

} // namespace common::win32
