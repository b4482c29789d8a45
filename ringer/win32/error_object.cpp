#include "ringer/win32/error_object.h"

#include "ringer/win32/dispatch.h"
#include "ringer/win32/ringer_h.h"

#include <new>

namespace ringer::win32 {

namespace {

class ErrorObject final : public Dispatchable<IRingerError> {
public:
    explicit ErrorObject(ErrorInfo error)
        : Dispatchable<IRingerError>(IID_IRingerError), error_(std::move(error)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IRingerError) {
            *object = static_cast<IRingerError*>(this);
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

    HRESULT STDMETHODCALLTYPE get_Number(long* number) override {
        if (!number)
            return E_POINTER;
        *number = error_.Number;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Source(BSTR* source) override {
        if (!source)
            return E_POINTER;
        *source = common::Bstr::FromAnsi(error_.Source).Detach();
        return *source ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_Description(BSTR* description) override {
        if (!description)
            return E_POINTER;
        *description = common::Bstr::FromAnsi(error_.Description).Detach();
        return *description ? S_OK : E_OUTOFMEMORY;
    }

private:
    LONG refs_ = 1;
    ErrorInfo error_;
    ModuleReference module_;
};

} // namespace

HRESULT CreateErrorObject(const ErrorInfo& error, IDispatch** object) {
    if (!object)
        return E_POINTER;
    *object = new (std::nothrow) ErrorObject(error);
    return *object ? S_OK : E_OUTOFMEMORY;
}

} // namespace ringer::win32
