#pragma once
// An open registry key, closed on destruction.
#include <windows.h>

#include <utility>

namespace vigil::shell::win32 {

class UniqueHKey {
public:
    UniqueHKey() = default;
    explicit UniqueHKey(HKEY key) : key_(key) {}
    UniqueHKey(UniqueHKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    UniqueHKey& operator=(UniqueHKey&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.key_, nullptr));
        return *this;
    }
    UniqueHKey(const UniqueHKey&) = delete;
    UniqueHKey& operator=(const UniqueHKey&) = delete;
    ~UniqueHKey() { Reset(); }

    void Reset(HKEY key = nullptr) {
        if (key_)
            RegCloseKey(key_);
        key_ = key;
    }
    HKEY Get() const { return key_; }
    // For the out-parameter of RegCreateKeyEx and RegOpenKeyEx; closes any key held before.
    HKEY* Put() {
        Reset();
        return &key_;
    }
    explicit operator bool() const { return key_ != nullptr; }

private:
    HKEY key_ = nullptr;
};

} // namespace vigil::shell::win32
