#pragma once
// IDispatch served from the type library (DispInvoke), and errors raised the way a Visual
// Basic component raises them: HRESULT 0x800A0000 | number, with source and description both as
// IErrorInfo (for vtable callers) and in the EXCEPINFO of IDispatch::Invoke (for scripts).
#include "ringer/ringer_error.h"
#include "ringer/win32/module.h"

#include "common/win32/bstr.h"
#include "common/win32/com_ptr.h"

#include <windows.h>

#include <oaidl.h>

#include <optional>

namespace ringer::win32 {

// The HRESULT of a numbered error.
inline HRESULT VbErrorResult(std::int32_t number) {
    return static_cast<HRESULT>(0x800A0000u | (static_cast<std::uint32_t>(number) & 0xFFFFu));
}

template <typename Interface> class Dispatchable : public Interface {
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count)
            return E_POINTER;
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** typeInfo) override {
        if (!typeInfo)
            return E_POINTER;
        *typeInfo = nullptr;
        if (index != 0)
            return DISP_E_BADINDEX;
        HRESULT hr = LoadTypeInfo();
        if (FAILED(hr))
            return hr;
        typeInfo_->AddRef();
        *typeInfo = typeInfo_.Get();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        HRESULT hr = LoadTypeInfo();
        if (FAILED(hr))
            return hr;
        return DispGetIDsOfNames(typeInfo_.Get(), names, count, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* excepInfo,
                                     UINT* argError) override {
        if (riid != IID_NULL)
            return DISP_E_UNKNOWNINTERFACE;
        if (!params)
            return E_INVALIDARG; // not every DispInvoke checks
        // A host may release its last reference in an event handler run by this call; the
        // object must outlive the call, which reads its own state after the member returns.
        common::ComPtr<Interface> self(static_cast<Interface*>(this));
        HRESULT hr = LoadTypeInfo();
        if (FAILED(hr))
            return hr;
        pending_.reset();
        hr = DispInvoke(static_cast<Interface*>(this), typeInfo_.Get(), id, flags, params, result,
                        excepInfo, argError);
        // Script engines differ in how they call a property that takes arguments (Active("x"))
        // or read a method's result: take a call as either.
        const WORD getOrCall = DISPATCH_METHOD | DISPATCH_PROPERTYGET;
        if (hr == DISP_E_MEMBERNOTFOUND && !pending_ && (flags & getOrCall) &&
            (flags & getOrCall) != getOrCall)
            hr = DispInvoke(static_cast<Interface*>(this), typeInfo_.Get(), id,
                            static_cast<WORD>(flags | getOrCall), params, result, excepInfo,
                            argError);
        if (pending_) {
            // Report our own error in full, whatever DispInvoke made of it.
            if (excepInfo) {
                SysFreeString(excepInfo->bstrSource);
                SysFreeString(excepInfo->bstrDescription);
                SysFreeString(excepInfo->bstrHelpFile);
                *excepInfo = EXCEPINFO{};
                excepInfo->bstrSource = common::Bstr::FromAnsi(pending_->Source).Detach();
                excepInfo->bstrDescription = common::Bstr::FromAnsi(pending_->Description).Detach();
                excepInfo->scode = VbErrorResult(pending_->Number);
            }
            pending_.reset();
            return DISP_E_EXCEPTION;
        }
        return hr;
    }

protected:
    Dispatchable(const IID& iid) : iid_(iid) {}
    virtual ~Dispatchable() = default;

    // Records a numbered error for the caller and returns its HRESULT.
    HRESULT Raise(const ErrorInfo& error) {
        pending_ = error;
        common::ComPtr<ICreateErrorInfo> create;
        if (SUCCEEDED(CreateErrorInfo(create.Put()))) {
            create->SetGUID(iid_);
            create->SetSource(common::Bstr::FromAnsi(error.Source).Get());
            create->SetDescription(common::Bstr::FromAnsi(error.Description).Get());
            common::ComPtr<IErrorInfo> info;
            if (SUCCEEDED(create.As(info)))
                SetErrorInfo(0, info.Get());
        }
        return VbErrorResult(error.Number);
    }

private:
    HRESULT LoadTypeInfo() {
        if (typeInfo_)
            return S_OK;
        return GetRingerTypeInfo(iid_, typeInfo_.Put());
    }

    const IID& iid_;
    common::ComPtr<ITypeInfo> typeInfo_;
    std::optional<ErrorInfo> pending_;

    template <typename> friend class DispatchObject;
};

// A small object of one interface (an enumerator), counted by references.
template <typename Interface> class SingleInterfaceObject : public Interface {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == __uuidof(Interface)) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG refs = InterlockedDecrement(&refs_);
        if (refs == 0)
            delete this;
        return refs;
    }

protected:
    SingleInterfaceObject() = default;
    virtual ~SingleInterfaceObject() = default;

private:
    LONG refs_ = 1;
};

// A dispatch object of one interface, counted by references, that keeps the library loaded for
// as long as it lives. A class with further interfaces extends QueryInterface and, as several
// of its bases then declare IUnknown, forwards AddRef and Release to this one.
template <typename Interface> class DispatchObject : public Dispatchable<Interface> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (riid != IID_IUnknown && riid != IID_IDispatch && riid != this->iid_)
            return E_NOINTERFACE;
        *object = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG refs = InterlockedDecrement(&refs_);
        if (refs == 0)
            delete this;
        return refs;
    }

protected:
    explicit DispatchObject(const IID& iid) : Dispatchable<Interface>(iid) {}

private:
    LONG refs_ = 1;
    ModuleReference module_;
};

} // namespace ringer::win32
