#include "vigil/notify/win32/registry_window_places.h"

#include <windows.h>

#include <charconv>

namespace vigil::notify::win32 {

namespace {

class Key {
public:
    Key() = default;
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    ~Key() {
        if (key_)
            RegCloseKey(key_);
    }
    HKEY* Out() { return &key_; }
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

std::optional<double> ReadNumber(HKEY key, const char* name) {
    char text[64] = {};
    DWORD type = 0;
    DWORD size = sizeof text - 1;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    text[size < sizeof text ? size : sizeof text - 1] = '\0';
    std::size_t length = 0;
    while (length < sizeof text && text[length])
        ++length;
    double value = 0;
    auto [end, error] = std::from_chars(text, text + length, value);
    if (error != std::errc() || end != text + length)
        return std::nullopt;
    return value;
}

void WriteNumber(HKEY key, const char* name, double value) {
    char text[64];
    auto [end, error] = std::to_chars(text, text + sizeof text - 1, value);
    if (error != std::errc())
        return;
    *end = '\0';
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>(end - text + 1));
}

} // namespace

std::string WindowPlaceKey(const std::string& applicationName) {
    return "Software\\" + applicationName;
}

std::optional<WindowPosition> RegistryWindowPlaces::Load(const std::string& applicationName) {
    Key key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, WindowPlaceKey(applicationName).c_str(), 0,
                      KEY_QUERY_VALUE, key.Out()) != ERROR_SUCCESS)
        return std::nullopt;
    std::optional<double> left = ReadNumber(key.Get(), "Left");
    std::optional<double> top = ReadNumber(key.Get(), "Top");
    if (!left || !top)
        return std::nullopt;
    return WindowPosition{*left, *top};
}

void RegistryWindowPlaces::Save(const std::string& applicationName,
                                const WindowPosition& position) {
    Key key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, WindowPlaceKey(applicationName).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, key.Out(),
                        nullptr) != ERROR_SUCCESS)
        return;
    WriteNumber(key.Get(), "Left", position.left);
    WriteNumber(key.Get(), "Top", position.top);
}

} // namespace vigil::notify::win32
