#pragma once
// Reference counting and a table-driven QueryInterface for the libraries' COM objects.
//
// A class lists the interfaces it answers for in a table of entries, the first of which also
// answers for IUnknown:
//     static constexpr common::win32::InterfaceEntry kInterfaces[] = {
//         common::win32::Entry<Control, IDialUpNetworking>(IID_IDialUpNetworking), ...};
#include <objbase.h>

#include <cstddef>
#include <new>
#include <span>

namespace common::win32 {

// The answer to a null out-pointer throughout the kit.
inline constexpr HRESULT kNullOut = E_POINTER;

struct InterfaceEntry {
    const IID* iid;
    IUnknown* (*cast)(void* object);
};

// An entry answering `iid` with the object seen as `Interface`.
template <typename Object, typename Interface> constexpr InterfaceEntry Entry(const IID& iid) {
    return {&iid, [](void* object) -> IUnknown* {
                return static_cast<Interface*>(static_cast<Object*>(object));
            }};
}

// Looks `iid` up in `table` (IUnknown is the first entry) and hands out an added reference.
inline HRESULT QueryFromTable(void* object, std::span<const InterfaceEntry> table, REFIID iid,
                              void** out) {
    if (!out)
        return kNullOut;
    *out = nullptr;
    if (table.empty())
        return E_NOINTERFACE;
    IUnknown* found = nullptr;
    if (IsEqualIID(iid, IID_IUnknown))
        found = table.front().cast(object);
    for (std::size_t i = 0; !found && i < table.size(); ++i)
        if (IsEqualIID(iid, *table[i].iid))
            found = table[i].cast(object);
    if (!found)
        return E_NOINTERFACE;
    found->AddRef();
    *out = found;
    return S_OK;
}

// A reference count that starts at one, for the creator.
class RefCount {
public:
    ULONG Add() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    // The count left; the owner deletes itself at zero.
    ULONG Drop() { return static_cast<ULONG>(InterlockedDecrement(&refs_)); }

private:
    LONG refs_ = 1;
};

// An object of one or more interfaces (`Bases`), deleted with its last reference. `Derived`
// gives the table of interfaces it answers for as `static std::span<const InterfaceEntry>
// Interfaces()`, the one that answers for IUnknown first.
template <typename Derived, typename... Bases> class ComObject : public Bases... {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        return QueryFromTable(static_cast<Derived*>(this), Derived::Interfaces(), iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return refs_.Add(); }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = refs_.Drop();
        if (left == 0)
            delete this;
        return left;
    }

protected:
    ComObject() = default;
    virtual ~ComObject() = default;

private:
    RefCount refs_;
};

// Creates an object with `new` (E_OUTOFMEMORY when that fails), queries it for `iid` and drops
// the creator's reference, so that a failed query frees it.
template <typename Object, typename... Args>
HRESULT CreateAndQuery(REFIID iid, void** out, Args&&... args) {
    if (!out)
        return kNullOut;
    *out = nullptr;
    Object* object = nullptr;
    try {
        object = new Object(static_cast<Args&&>(args)...);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    const HRESULT hr = object->QueryInterface(iid, out);
    object->Release();
    return hr;
}

// The same, for an out-pointer of one interface.
template <typename Object, typename Interface, typename... Args>
HRESULT CreateAs(Interface** out, Args&&... args) {
    return CreateAndQuery<Object>(__uuidof(Interface), reinterpret_cast<void**>(out),
                                  static_cast<Args&&>(args)...);
}

} // namespace common::win32
