#include "ovhttpclient/win32/error_info.h"

#include "common/win32/com_ptr.h"

#include <oleauto.h>

namespace ovhttp {

void ClearErrorInfo() {
    SetErrorInfo(0, nullptr);
}

HRESULT ReportError(HRESULT hr, const wchar_t* source, const wchar_t* description, REFIID iid) {
    common::ComPtr<ICreateErrorInfo> create;
    if (FAILED(CreateErrorInfo(create.Put())))
        return hr;
    create->SetSource(const_cast<LPOLESTR>(source));
    create->SetDescription(const_cast<LPOLESTR>(description));
    create->SetGUID(iid);
    common::ComPtr<IErrorInfo> info;
    if (SUCCEEDED(create.As(info)))
        SetErrorInfo(0, info.Get());
    return hr;
}

} // namespace ovhttp
