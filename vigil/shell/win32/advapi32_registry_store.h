#pragma once
// The registry-store port on the platform's registry (advapi32), ANSI texts in the system
// code page. Every key path is below one root, HKEY_LOCAL_MACHINE unless told otherwise.
#include "vigil/shell/registry_store.h"

#include <windows.h>

namespace vigil::shell::win32 {

class Advapi32RegistryStore : public RegistryStore {
public:
    explicit Advapi32RegistryStore(HKEY root = HKEY_LOCAL_MACHINE) : root_(root) {}

    bool CreateKey(const std::string& keyPath) override;
    bool WriteValue(const std::string& keyPath, const std::string& name,
                    const std::string& text) override;
    // A string value as it is stored (no expansion), a DWORD as its decimal text; an absent
    // key or value reads as an empty text, any other failure or kind of value as "Error".
    std::string ReadValue(const std::string& keyPath, const std::string& name) override;
    bool DeleteValue(const std::string& keyPath, const std::string& name) override;
    std::unique_ptr<RegistryKeyWriter> OpenForWriting(const std::string& keyPath) override;

private:
    HKEY root_;
};

} // namespace vigil::shell::win32
