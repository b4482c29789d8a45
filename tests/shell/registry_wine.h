#pragma once
// Reads a key straight from the registry, without the store under test.
#include <windows.h>

#include <cctype>
#include <map>
#include <string>
#include <vector>

namespace registry_test {

struct RawValue {
    std::string name; // as the registry spells it
    DWORD type = REG_NONE;
    std::string data; // the bytes, for a string without its terminating NUL
};

// Every value of a key below HKEY_LOCAL_MACHINE, by lower-cased name, and the names in the
// order the registry enumerates them.
struct RawKey {
    bool exists = false;
    std::map<std::string, RawValue> values;
    std::vector<std::string> order;
};

// Value names of ours are ASCII.
inline std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

inline RawKey ReadRawKey(const std::string& path) {
    RawKey key;
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE, &handle) !=
        ERROR_SUCCESS)
        return key;
    key.exists = true;
    for (DWORD index = 0;; ++index) {
        char name[16384];
        DWORD nameSize = sizeof name;
        BYTE data[65536];
        DWORD dataSize = sizeof data;
        DWORD type = 0;
        if (RegEnumValueA(handle, index, name, &nameSize, nullptr, &type, data, &dataSize) !=
            ERROR_SUCCESS)
            break;
        RawValue value{name, type, std::string(reinterpret_cast<char*>(data), dataSize)};
        if ((type == REG_SZ || type == REG_EXPAND_SZ) && !value.data.empty() &&
            value.data.back() == '\0')
            value.data.pop_back();
        key.order.push_back(value.name);
        key.values[Lower(value.name)] = value;
    }
    RegCloseKey(handle);
    return key;
}

// RegQueryValueExA of one value; nothing when it is absent.
inline bool QueryRaw(const std::string& path, const std::string& name, RawValue& out) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE, &handle) !=
        ERROR_SUCCESS)
        return false;
    BYTE data[65536];
    DWORD size = sizeof data;
    DWORD type = 0;
    LONG rc = RegQueryValueExA(handle, name.c_str(), nullptr, &type, data, &size);
    RegCloseKey(handle);
    if (rc != ERROR_SUCCESS)
        return false;
    out = {name, type, std::string(reinterpret_cast<char*>(data), size)};
    if (type == REG_SZ && !out.data.empty() && out.data.back() == '\0')
        out.data.pop_back();
    return true;
}

inline void DeleteKeyTree(const std::string& path) {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, path.c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, path.c_str());
}

} // namespace registry_test
