#include "ringer/win32/error_object.h"

#include "ringer/win32/dispatch.h"
#include "ringer/win32/ringer_h.h"

#include <new>

namespace ringer::win32 {

namespace {

class ErrorObject final : public DispatchObject<IRingerError> {
public:
    explicit ErrorObject(ErrorInfo error)
        : DispatchObject<IRingerError>(IID_IRingerError), error_(std::move(error)) {}

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
    ErrorInfo error_;
};

} // namespace

HRESULT CreateErrorObject(const ErrorInfo& error, IDispatch** object) {
    if (!object)
        return E_POINTER;
    *object = new (std::nothrow) ErrorObject(error);
    return *object ? S_OK : E_OUTOFMEMORY;
}

} // namespace ringer::win32
