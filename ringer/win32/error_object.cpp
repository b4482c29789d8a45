#include "ringer/win32/error_object.h"

#include "ringer/win32/dispatch.h"
#include "ringer/win32/ringer_h.h"

namespace ringer::win32 {

namespace {

class ErrorObject final : public DispatchObject<ErrorObject, IRingerError> {
public:
    explicit ErrorObject(ErrorInfo error) : error_(std::move(error)) {}

    static std::span<const InterfaceEntry> Interfaces() {
        static constexpr InterfaceEntry table[] = {
            Entry<ErrorObject, IRingerError>(IID_IRingerError),
            Entry<ErrorObject, IRingerError>(IID_IDispatch),
        };
        return table;
    }

    HRESULT STDMETHODCALLTYPE get_Number(long* number) override {
        if (!number)
            return common::win32::kNullOut;
        *number = error_.Number;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Source(BSTR* source) override {
        return Text(error_.Source, source);
    }
    HRESULT STDMETHODCALLTYPE get_Description(BSTR* description) override {
        return Text(error_.Description, description);
    }

private:
    static HRESULT Text(const std::string& text, BSTR* out) {
        if (!out)
            return common::win32::kNullOut;
        *out = common::Bstr::FromAnsi(text).Detach();
        return *out ? S_OK : E_OUTOFMEMORY;
    }

    ErrorInfo error_;
};

} // namespace

HRESULT CreateErrorObject(const ErrorInfo& error, IDispatch** object) {
    return common::win32::CreateAs<ErrorObject>(object, error);
}

} // namespace ringer::win32
