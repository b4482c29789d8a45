#include "common/win32/error_info.h"

#include "common/win32/bstr.h"
#include "common/win32/com_ptr.h"

#include <oleauto.h>

namespace common::win32 {

void ClearErrorInfo() {
    SetErrorInfo(0, nullptr);
}

HRESULT ReportError(HRESULT hr, const wchar_t* source, const wchar_t* description, REFIID iid) {
    ComPtr<ICreateErrorInfo> create;
    if (FAILED(CreateErrorInfo(create.Put())))
        return hr;
    create->SetGUID(iid);
    create->SetSource(const_cast<LPOLESTR>(source));
    create->SetDescription(const_cast<LPOLESTR>(description));
    ComPtr<IErrorInfo> info;
    if (SUCCEEDED(create.As(info)))
        SetErrorInfo(0, info.Get());
    return hr;
}

HRESULT ReportError(HRESULT hr, const std::string& source, const std::string& description,
                    REFIID iid) {
    return ReportError(hr, Bstr::FromAnsi(source).Get(), Bstr::FromAnsi(description).Get(), iid);
}

} // namespace common::win32
