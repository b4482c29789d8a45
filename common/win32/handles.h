#pragma once
// Owners of Windows handles: one template, given how a kind of handle is closed and which
// values mean "none", and the kinds the libraries use. Critical sections are members with a
// lifetime, never bare globals.
#include <winsock2.h>

#include <windows.h>

#include <utility>

namespace common {

// `Traits` gives the handle type, the value that means none, a test of validity and Close.
template <typename Traits> class UniqueAny {
public:
    using Handle = typename Traits::Handle;

    UniqueAny() = default;
    explicit UniqueAny(Handle h) : h_(h) {}
    UniqueAny(UniqueAny&& other) noexcept : h_(other.Release()) {}
    UniqueAny& operator=(UniqueAny&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    UniqueAny(const UniqueAny&) = delete;
    UniqueAny& operator=(const UniqueAny&) = delete;
    ~UniqueAny() { Reset(); }

    // Closes what is held (if anything) and takes `h`.
    void Reset(Handle h = Traits::None()) {
        if (Valid())
            Traits::Close(h_);
        h_ = h;
    }
    Handle Get() const { return h_; }
    // Gives up ownership without closing.
    Handle Release() { return std::exchange(h_, Traits::None()); }
    // For out-parameters: closes what is held and returns the slot to fill.
    Handle* Put() {
        Reset();
        return &h_;
    }
    bool Valid() const { return Traits::IsValid(h_); }
    explicit operator bool() const { return Valid(); }

private:
    Handle h_ = Traits::None();
};

namespace handle_traits {

// Kernel handles: both null and INVALID_HANDLE_VALUE mean "none".
struct Kernel {
    using Handle = HANDLE;
    static Handle None() { return nullptr; }
    static bool IsValid(Handle h) { return h && h != INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { CloseHandle(h); }
};
// A handle of `T` type, null when none, closed by `CloseFn`.
template <typename T, auto CloseFn> struct Pointer {
    using Handle = T;
    static Handle None() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { CloseFn(h); }
};
struct Socket {
    using Handle = SOCKET;
    static Handle None() { return INVALID_SOCKET; }
    static bool IsValid(Handle h) { return h != INVALID_SOCKET; }
    static void Close(Handle h) { closesocket(h); }
};
inline void CloseKeyHandle(HKEY key) {
    RegCloseKey(key);
}
inline void DestroyWindowHandle(HWND window) {
    DestroyWindow(window);
}
inline void FreeLibraryHandle(HMODULE module) {
    FreeLibrary(module);
}
inline void DeleteFontHandle(HFONT font) {
    DeleteObject(font);
}
// WinINet's handles, closed through the function looked up in wininet.dll, so that only a user
// of this kind needs the library.
inline void CloseInternetHandle(void* handle) {
    using Fn = BOOL(WINAPI*)(void*);
    static const Fn close = reinterpret_cast<Fn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("wininet.dll"), "InternetCloseHandle")));
    if (close)
        close(handle);
}

} // namespace handle_traits

using UniqueHandle = UniqueAny<handle_traits::Kernel>;
using UniqueEvent = UniqueHandle;
using UniqueHkey = UniqueAny<handle_traits::Pointer<HKEY, handle_traits::CloseKeyHandle>>;
using UniqueSocket = UniqueAny<handle_traits::Socket>;
using UniqueHwnd = UniqueAny<handle_traits::Pointer<HWND, handle_traits::DestroyWindowHandle>>;
using UniqueHmodule = UniqueAny<handle_traits::Pointer<HMODULE, handle_traits::FreeLibraryHandle>>;
using UniqueHfont = UniqueAny<handle_traits::Pointer<HFONT, handle_traits::DeleteFontHandle>>;
// HINTERNET is `void*` (wininet.h need not be included to hold one).
using UniqueHinternet =
    UniqueAny<handle_traits::Pointer<void*, handle_traits::CloseInternetHandle>>;

// A new manual- or auto-reset event without a name; invalid when it cannot be made.
inline UniqueEvent NewEvent(bool manualReset, bool signalled = false) {
    return UniqueEvent(CreateEventA(nullptr, manualReset, signalled, nullptr));
}

class CriticalSection {
public:
    CriticalSection() { InitializeCriticalSection(&cs_); }
    ~CriticalSection() { DeleteCriticalSection(&cs_); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void Enter() { EnterCriticalSection(&cs_); }
    void Leave() { LeaveCriticalSection(&cs_); }

private:
    CRITICAL_SECTION cs_;
};

// Holds a critical section for the lifetime of the guard.
class CriticalSectionGuard {
public:
    explicit CriticalSectionGuard(CriticalSection& cs) : cs_(cs) { cs_.Enter(); }
    ~CriticalSectionGuard() { cs_.Leave(); }
    CriticalSectionGuard(const CriticalSectionGuard&) = delete;
    CriticalSectionGuard& operator=(const CriticalSectionGuard&) = delete;

private:
    CriticalSection& cs_;
};

} // namespace common
