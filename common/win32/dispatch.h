#pragma once
// IDispatch served from type information (DispGetIDsOfNames and DispInvoke), for a dual
// interface `Interface`. The type information is loaded on first use and kept by the object.
#include "common/win32/com_object.h"
#include "common/win32/com_ptr.h"
#include "common/win32/handles.h"

#include <oaidl.h>
#include <oleauto.h>

namespace common::win32 {

// Loads the type information of `guid` for `lcid`.
using TypeInfoLoader = HRESULT (*)(REFGUID guid, LCID lcid, ITypeInfo** info);

template <typename Interface> class Dispatchable : public Interface {
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count)
            return nullOut_;
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override {
        if (!info)
            return nullOut_;
        *info = nullptr;
        if (index != 0)
            return DISP_E_BADINDEX;
        ITypeInfo* loaded = nullptr;
        const HRESULT hr = LoadTypeInfo(lcid, &loaded);
        if (FAILED(hr))
            return hr;
        loaded->AddRef();
        *info = loaded;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override {
        if (!IsEqualIID(iid, IID_NULL))
            return DISP_E_UNKNOWNINTERFACE;
        // The type information would read and write through these without a check.
        if (count != 0 && (!names || !ids))
            return E_INVALIDARG;
        for (UINT i = 0; i < count; ++i)
            if (!names[i])
                return E_INVALIDARG;
        ITypeInfo* loaded = nullptr;
        const HRESULT hr = LoadTypeInfo(lcid, &loaded);
        if (FAILED(hr))
            return hr;
        return DispGetIDsOfNames(loaded, names, count, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argError) override {
        if (!IsEqualIID(iid, IID_NULL))
            return DISP_E_UNKNOWNINTERFACE;
        if (!params)
            return E_INVALIDARG; // not every DispInvoke checks
        ITypeInfo* loaded = nullptr;
        const HRESULT hr = LoadTypeInfo(lcid, &loaded);
        if (FAILED(hr))
            return hr;
        return DispInvoke(static_cast<Interface*>(this), loaded, id, flags, params, result,
                          exception, argError);
    }

protected:
    // `nullOut`: what the library answers for a null out-pointer.
    Dispatchable(const IID& iid, TypeInfoLoader loader, HRESULT nullOut = kNullOut)
        : iid_(iid), loader_(loader), nullOut_(nullOut) {}
    virtual ~Dispatchable() = default;
    Dispatchable(const Dispatchable&) = delete;
    Dispatchable& operator=(const Dispatchable&) = delete;

    const IID& DispatchIid() const { return iid_; }

    // The object's type information (no added reference), loaded on first use.
    HRESULT LoadTypeInfo(LCID lcid, ITypeInfo** info) {
        // A C++ caller may use one object from several threads at once.
        const CriticalSectionGuard guard(typeInfoLock_);
        if (!typeInfo_) {
            const HRESULT hr = loader_(iid_, lcid, typeInfo_.Put());
            if (FAILED(hr))
                return hr;
        }
        *info = typeInfo_.Get();
        return S_OK;
    }

private:
    const IID& iid_;
    TypeInfoLoader loader_;
    HRESULT nullOut_;
    CriticalSection typeInfoLock_;
    ComPtr<ITypeInfo> typeInfo_;
};

} // namespace common::win32
