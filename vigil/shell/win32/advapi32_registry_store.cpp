#include "vigil/shell/win32/advapi32_registry_store.h"

#include "vigil/shell/win32/unique_hkey.h"

#include <cstring>
#include <string>
#include <vector>

namespace vigil::shell::win32 {
namespace {

// Longer values are not settings of ours; refusing them bounds the memory a read can take.
constexpr DWORD kLongestValue = 16 * 1024 * 1024;

bool SetString(HKEY key, const std::string& name, const std::string& text) {
    // The data is the text up to its first NUL, with the terminating NUL.
    const char* data = text.c_str();
    const DWORD size = static_cast<DWORD>(std::char_traits<char>::length(data) + 1);
    return RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                          size) == ERROR_SUCCESS;
}

// Value and key names of ours are ASCII; another spelling of a name only costs a write.
std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool LastWriteOf(HKEY key, FILETIME& lastWrite) {
    return RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, &lastWrite) == ERROR_SUCCESS;
}

bool SameTime(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

class KeyWriter : public RegistryKeyWriter {
public:
    using Shadow = Advapi32RegistryStore::KeyShadow;

    KeyWriter(UniqueHKey key, Shadow& shadow) : key_(std::move(key)), shadow_(shadow) {
        FILETIME now{};
        // Changed by anyone else (or unknown): every value is written again.
        if (!shadow_.valid || !LastWriteOf(key_.Get(), now) || !SameTime(now, shadow_.lastWrite))
            shadow_.texts.clear();
        shadow_.valid = false;
    }
    ~KeyWriter() override { shadow_.valid = LastWriteOf(key_.Get(), shadow_.lastWrite); }
    KeyWriter(const KeyWriter&) = delete;
    KeyWriter& operator=(const KeyWriter&) = delete;

    bool Write(const std::string& name, const std::string& text) override {
        const std::string lower = Lower(name);
        auto known = shadow_.texts.find(lower);
        if (known != shadow_.texts.end() && known->second == text)
            return true;
        if (!SetString(key_.Get(), name, text)) {
            shadow_.texts.erase(lower);
            return false;
        }
        // Stored as the registry keeps it: up to the first NUL.
        shadow_.texts[lower] = text.c_str();
        return true;
    }

private:
    UniqueHKey key_;
    Shadow& shadow_;
};

} // namespace

bool Advapi32RegistryStore::CreateKey(const std::string& keyPath) {
    UniqueHKey key;
    return RegCreateKeyExA(root_, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                           nullptr, key.Put(), nullptr) == ERROR_SUCCESS;
}

bool Advapi32RegistryStore::WriteValue(const std::string& keyPath, const std::string& name,
                                       const std::string& text) {
    UniqueHKey key;
    if (RegOpenKeyExA(root_, keyPath.c_str(), 0, KEY_SET_VALUE, key.Put()) != ERROR_SUCCESS)
        return false;
    return SetString(key.Get(), name, text);
}

std::string Advapi32RegistryStore::ReadValue(const std::string& keyPath, const std::string& name) {
    UniqueHKey key;
    LONG rc = RegOpenKeyExA(root_, keyPath.c_str(), 0, KEY_QUERY_VALUE, key.Put());
    if (rc == ERROR_FILE_NOT_FOUND)
        return {};
    if (rc != ERROR_SUCCESS)
        return kReadError;

    std::vector<BYTE> data;
    DWORD type = 0;
    DWORD size = 0;
    rc = RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, nullptr, &size);
    // The value may grow between the calls; try again a few times, then give up.
    for (int attempt = 0; rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA; ++attempt) {
        if (attempt == 4 || size > kLongestValue)
            return kReadError;
        data.assign(size + 1, 0); // room for a NUL the stored data may lack
        DWORD got = size;
        rc = RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, data.data(), &got);
        size = got;
        if (rc == ERROR_SUCCESS)
            break;
    }
    if (rc == ERROR_FILE_NOT_FOUND)
        return {};
    if (rc != ERROR_SUCCESS)
        return kReadError;

    switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
        data.resize(size);
        data.push_back(0);
        return std::string(reinterpret_cast<const char*>(data.data()));
    }
    case REG_DWORD:
        if (size == sizeof(DWORD)) {
            DWORD number = 0;
            std::memcpy(&number, data.data(), sizeof number);
            return std::to_string(number);
        }
        return kReadError;
    default:
        return kReadError;
    }
}

bool Advapi32RegistryStore::DeleteValue(const std::string& keyPath, const std::string& name) {
    UniqueHKey key;
    if (RegOpenKeyExA(root_, keyPath.c_str(), 0, KEY_SET_VALUE, key.Put()) != ERROR_SUCCESS)
        return false;
    return RegDeleteValueA(key.Get(), name.c_str()) == ERROR_SUCCESS;
}

std::unique_ptr<RegistryKeyWriter>
Advapi32RegistryStore::OpenForWriting(const std::string& keyPath) {
    UniqueHKey key;
    if (RegCreateKeyExA(root_, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                        nullptr, key.Put(), nullptr) != ERROR_SUCCESS)
        return nullptr;
    return std::make_unique<KeyWriter>(std::move(key), shadows_[Lower(keyPath)]);
}

} // namespace vigil::shell::win32
