#pragma once
// An owning COM interface pointer: AddRef on copy, Release on destruction.
#include <objbase.h>

#include <utility>

namespace common {

template <typename T> class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    explicit ComPtr(T* p, bool addRef = true) : p_(p) {
        if (p_ && addRef)
            p_->AddRef();
    }
    ComPtr(const ComPtr& other) : ComPtr(other.p_) {}
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }
    ~ComPtr() { Reset(); }

    void Reset() {
        if (T* p = std::exchange(p_, nullptr))
            p->Release();
    }
    // Gives up ownership without releasing.
    T* Detach() { return std::exchange(p_, nullptr); }
    // For out-parameters: releases what is held and returns the slot to fill.
    T** Put() {
        Reset();
        return &p_;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

    template <typename U> HRESULT As(ComPtr<U>& out) const {
        if (!p_)
            return E_POINTER;
        return p_->QueryInterface(__uuidof(U), out.PutVoid());
    }

private:
    T* p_ = nullptr;
};

} // namespace common
