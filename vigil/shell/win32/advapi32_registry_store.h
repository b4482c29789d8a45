#pragma once
// The registry-store port on the platform's registry (advapi32), ANSI texts in the system
// code page. Every key path is below one root, HKEY_LOCAL_MACHINE unless told otherwise.
#include "vigil/shell/registry_store.h"

#include <windows.h>

#include <map>
#include <string>
#include <unordered_map>

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
    // A save rewrites every value although usually one has changed. The writer skips a value
    // whose text this store itself last wrote, as long as the key's last-write time shows that
    // nothing else has changed the key since this store's previous series of writes.
    std::unique_ptr<RegistryKeyWriter> OpenForWriting(const std::string& keyPath) override;

    // What a series of writes left in a key, as far as this store knows it.
    struct KeyShadow {
        bool valid = false;
        FILETIME lastWrite{};
        std::unordered_map<std::string, std::string> texts; // by lower-cased value name
    };

private:
    HKEY root_;
    std::map<std::string, KeyShadow> shadows_; // by lower-cased key path
};

} // namespace vigil::shell::win32
