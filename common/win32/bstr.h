#pragma once
// An owning BSTR, and the conversions between BSTRs and ANSI text in the system code page.
#include <oleauto.h>

#include <string>
#include <utility>

namespace common {

class Bstr {
public:
    Bstr() = default;
    explicit Bstr(const wchar_t* text) : s_(text ? SysAllocString(text) : nullptr) {}
    // From ANSI text in the system code page.
    static Bstr FromAnsi(const std::string& text) {
        Bstr b;
        int length =
            MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
        b.s_ = SysAllocStringLen(nullptr, static_cast<UINT>(length));
        if (b.s_ && length > 0)
            MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), b.s_,
                                length);
        return b;
    }
    Bstr(const Bstr& other)
        : s_(other.s_ ? SysAllocStringLen(other.s_, other.Length()) : nullptr) {}
    Bstr(Bstr&& other) noexcept : s_(std::exchange(other.s_, nullptr)) {}
    Bstr& operator=(Bstr other) noexcept {
        std::swap(s_, other.s_);
        return *this;
    }
    ~Bstr() { SysFreeString(s_); }

    BSTR Get() const { return s_; }
    BSTR Detach() { return std::exchange(s_, nullptr); }
    BSTR* Put() {
        SysFreeString(std::exchange(s_, nullptr));
        return &s_;
    }
    UINT Length() const { return s_ ? SysStringLen(s_) : 0; }

private:
    BSTR s_ = nullptr;
};

// BSTR (may be null: the empty string) to ANSI text in the system code page.
inline std::string ToAnsi(const wchar_t* text, int length) {
    if (!text || length <= 0)
        return {};
    int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, length, out.data(), size, nullptr, nullptr);
    return out;
}
inline std::string ToAnsi(BSTR text) {
    return ToAnsi(text, text ? static_cast<int>(SysStringLen(text)) : 0);
}

} // namespace common
