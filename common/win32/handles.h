#pragma once
// RAII for kernel handles and critical sections.
#include <windows.h>

#include <utility>

namespace common {

// A kernel handle closed on destruction. Both null and INVALID_HANDLE_VALUE mean "none".
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE h) : h_(h) {}
    UniqueHandle(UniqueHandle&& other) noexcept : h_(std::exchange(other.h_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.h_, nullptr));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { Reset(); }

    void Reset(HANDLE h = nullptr) {
        if (Valid())
            CloseHandle(h_);
        h_ = h;
    }
    HANDLE Get() const { return h_; }
    HANDLE Release() { return std::exchange(h_, nullptr); }
    bool Valid() const { return h_ && h_ != INVALID_HANDLE_VALUE; }
    explicit operator bool() const { return Valid(); }

private:
    HANDLE h_ = nullptr;
};

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
