#pragma once
// An owning VARIANT, cleared on destruction.
#include <oleauto.h>

namespace common {

class Variant {
public:
    Variant() { VariantInit(&v_); }
    Variant(const Variant& other) {
        VariantInit(&v_);
        VariantCopy(&v_, const_cast<VARIANT*>(&other.v_));
    }
    Variant& operator=(const Variant& other) {
        if (this != &other)
            VariantCopy(&v_, const_cast<VARIANT*>(&other.v_));
        return *this;
    }
    ~Variant() { VariantClear(&v_); }

    VARIANT* Get() { return &v_; }
    const VARIANT* Get() const { return &v_; }
    // Clears the value and returns the slot to fill.
    VARIANT* Put() {
        VariantClear(&v_);
        return &v_;
    }
    // Moves the value out to a caller's VARIANT, leaving this one empty.
    void Detach(VARIANT* out) {
        *out = v_;
        VariantInit(&v_);
    }

private:
    VARIANT v_;
};

} // namespace common
