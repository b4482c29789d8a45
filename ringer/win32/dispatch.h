#pragma once
// Ringer's dispatch objects: IDispatch from the library's own type library, and errors raised
// the way a Visual Basic component raises them: HRESULT 0x800A0000 | number, with source and
// description both as IErrorInfo (for vtable callers) and in the EXCEPINFO of IDispatch::Invoke
// (for scripts).
#include "ringer/ringer_error.h"

#include "common/win32/bstr.h"
#include "common/win32/com_module.h"
#include "common/win32/com_object.h"
#include "common/win32/com_ptr.h"
#include "common/win32/dispatch.h"
#include "common/win32/error_info.h"
#include "common/win32/type_library.h"

#include <windows.h>

#include <oaidl.h>

#include <optional>

namespace ringer::win32 {

using common::win32::Entry;
using common::win32::InterfaceEntry;

// The HRESULT of a numbered error.
inline HRESULT VbErrorResult(std::int32_t number) {
    return static_cast<HRESULT>(0x800A0000u | (static_cast<std::uint32_t>(number) & 0xFFFFu));
}

inline HRESULT LoadRingerTypeInfo(REFGUID guid, LCID, ITypeInfo** info) {
    return common::win32::ModuleTypeInfo(guid, info);
}

template <typename Interface> class VbDispatchable : public common::win32::Dispatchable<Interface> {
    using Base = common::win32::Dispatchable<Interface>;

public:
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* excepInfo,
                                     UINT* argError) override {
        // A host may release its last reference in an event handler run by this call; the
        // object must outlive the call, which reads its own state after the member returns.
        common::ComPtr<Interface> self(static_cast<Interface*>(this));
        pending_.reset();
        HRESULT hr = Base::Invoke(id, riid, lcid, flags, params, result, excepInfo, argError);
        // Script engines differ in how they call a property that takes arguments (Active("x"))
        // or read a method's result: take a call as either.
        const WORD getOrCall = DISPATCH_METHOD | DISPATCH_PROPERTYGET;
        if (hr == DISP_E_MEMBERNOTFOUND && !pending_ && (flags & getOrCall) &&
            (flags & getOrCall) != getOrCall)
            hr = Base::Invoke(id, riid, lcid, static_cast<WORD>(flags | getOrCall), params, result,
                              excepInfo, argError);
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
    VbDispatchable() : Base(__uuidof(Interface), LoadRingerTypeInfo) {}

    // Records a numbered error for the caller and returns its HRESULT.
    HRESULT Raise(const ErrorInfo& error) {
        pending_ = error;
        return common::win32::ReportError(VbErrorResult(error.Number), error.Source,
                                          error.Description, __uuidof(Interface));
    }

private:
    std::optional<ErrorInfo> pending_;
};

// A dispatch object of Ringer, counted by references, that keeps the library loaded for as
// long as it lives. `Bases` are further interfaces of the object.
template <typename Derived, typename Interface, typename... Bases>
class DispatchObject
    : public common::win32::ComObject<Derived, VbDispatchable<Interface>, Bases...> {
private:
    common::win32::ModuleReference module_;
};

} // namespace ringer::win32
