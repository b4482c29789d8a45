#pragma once
// The registry as the settings see it: text values in keys below the machine-wide root. Reads
// give text; an absent value (or key) reads as an empty text, any other failed read as "Error".
#include <memory>
#include <string>

namespace vigil::shell {

// The text a read gives for a value that exists but can't be read as text.
inline constexpr const char* kReadError = "Error";

// One key held open for a series of writes, so a whole save costs one open of the key.
class RegistryKeyWriter {
public:
    virtual ~RegistryKeyWriter() = default;
    // Writes text as a string value (REG_SZ); false when the write failed.
    virtual bool Write(const std::string& name, const std::string& text) = 0;
};

class RegistryStore {
public:
    virtual ~RegistryStore() = default;

    // Creates the key (and its parents) if it isn't there; true when it exists afterwards.
    virtual bool CreateKey(const std::string& keyPath) = 0;
    // Writes text as a string value (REG_SZ) in an existing key; false when it failed.
    virtual bool WriteValue(const std::string& keyPath, const std::string& name,
                            const std::string& text) = 0;
    virtual std::string ReadValue(const std::string& keyPath, const std::string& name) = 0;
    virtual bool DeleteValue(const std::string& keyPath, const std::string& name) = 0;

    // Creates the key and keeps it open for writing until the writer is destroyed; null when
    // the key can't be created or opened. Values written this way are the same as WriteValue's.
    virtual std::unique_ptr<RegistryKeyWriter> OpenForWriting(const std::string& keyPath) = 0;
};

} // namespace vigil::shell
