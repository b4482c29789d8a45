#include "ovhttpclient/win32/http_client.h"

#include "common/win32/bstr.h"
#include "common/win32/handles.h"
#include "ovhttpclient/library_status.h"
#include "ovhttpclient/request_text.h"
#include "ovhttpclient/time_out.h"
#include "ovhttpclient/win32/error_info.h"
#include "ovhttpclient/win32/http_request_job.h"
#include "ovhttpclient/win32/http_worker.h"
#include "ovhttpclient/win32/module.h"

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <new>

namespace ovhttp {

namespace {

constexpr wchar_t kSource[] = L"OvHttpClient";
constexpr char kLibraryName[] = "Orvane HttpClient Library";
constexpr char kShortName[] = "OvHttpClient";
constexpr unsigned short kVersionMajor = 1;
constexpr unsigned short kVersionMinor = 0;
constexpr unsigned short kBuild = 34;

// A text as held by the object: ANSI, ending at its first NUL; a null string is no text.
// Read up to the NUL rather than by the BSTR's length: a C++ caller that passes a plain wide
// string then gets its text, never the bytes before or after it.
std::optional<std::string> TextOf(BSTR value) {
    if (!value)
        return std::nullopt;
    return common::ToAnsi(value, static_cast<int>(wcslen(value)));
}

// ANSI bytes up to the first NUL, as a new BSTR.
BSTR NewBstr(const char* data, std::size_t size) {
    const std::size_t length = size ? strnlen(data, size) : 0;
    common::Bstr b = common::Bstr::FromAnsi(std::string(data, length));
    return b.Detach();
}

HRESULT GetText(const std::optional<std::string>& text, BSTR* out) {
    if (!out)
        return E_INVALIDARG;
    *out = nullptr;
    if (!text)
        return S_OK;
    *out = NewBstr(text->data(), text->size());
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT PutText(std::optional<std::string>& text, BSTR value) {
    try {
        text = TextOf(value);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

// A body as a variant: a byte array, or a string converted from the bytes before the first NUL.
HRESULT BodyVariant(const std::uint8_t* bytes, std::size_t size, bool binary, VARIANT* out) {
    if (binary) {
        SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(size));
        if (!array)
            return E_OUTOFMEMORY;
        if (size != 0) {
            void* data = nullptr;
            if (FAILED(SafeArrayAccessData(array, &data))) {
                SafeArrayDestroy(array);
                return E_FAIL;
            }
            std::memcpy(data, bytes, size);
            SafeArrayUnaccessData(array);
        }
        out->vt = VT_ARRAY | VT_UI1;
        out->parray = array;
        return S_OK;
    }
    BSTR text = NewBstr(reinterpret_cast<const char*>(bytes), size);
    if (!text)
        return E_OUTOFMEMORY;
    out->vt = VT_BSTR;
    out->bstrVal = text;
    return S_OK;
}

std::string AboutText() {
    char version[64];
    std::snprintf(version, sizeof version, "Version %hu.%hu - Build %hu", kVersionMajor,
                  kVersionMinor, kBuild);
    return std::string(kLibraryName) + "\r\n" + version;
}

std::string DefaultRequestHeaders() {
    char line[128];
    std::snprintf(line, sizeof line, "User-Agent: %s/%hu.%hub%hu\r\n", kShortName, kVersionMajor,
                  kVersionMinor, kBuild);
    return line;
}

// Frees a record on every way out of Execute, unless handed over to the worker.
struct JobOwner {
    HttpRequestJob* job;
    ~JobOwner() { FreeJob(job); }
    void HandOver() { job = nullptr; }
};

} // namespace

HRESULT HttpClient::Create(IUnknown* outer, REFIID iid, void** out) {
    HttpClient* object;
    try {
        object = new HttpClient(outer);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    const HRESULT hr = object->inner_.QueryInterface(iid, out);
    object->inner_.Release();
    return hr;
}

HttpClient::HttpClient(IUnknown* outer)
    : outer_(outer ? outer : &inner_), requestHeaders_(DefaultRequestHeaders()) {
    ObjectCreated();
    WorkerAddObject();
}

HttpClient::~HttpClient() {
    if (typeInfo_)
        typeInfo_->Release();
    WorkerRemoveObject();
    ObjectDestroyed();
}

STDMETHODIMP HttpClient::Inner::QueryInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    HttpClient* object = self();
    if (IsEqualIID(iid, IID_IUnknown))
        *out = static_cast<IUnknown*>(this);
    else if (IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IOvHttpClient))
        *out = static_cast<IOvHttpClient*>(object);
    else if (IsEqualIID(iid, IID_ISupportErrorInfo))
        *out = static_cast<ISupportErrorInfo*>(object);
    else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    static_cast<IUnknown*>(*out)->AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) HttpClient::Inner::AddRef() {
    return InterlockedIncrement(&self()->refs_);
}

STDMETHODIMP_(ULONG) HttpClient::Inner::Release() {
    HttpClient* object = self();
    const ULONG left = InterlockedDecrement(&object->refs_);
    if (left == 0)
        delete object;
    return left;
}

STDMETHODIMP HttpClient::QueryInterface(REFIID iid, void** out) {
    return outer_->QueryInterface(iid, out);
}
STDMETHODIMP_(ULONG) HttpClient::AddRef() {
    return outer_->AddRef();
}
STDMETHODIMP_(ULONG) HttpClient::Release() {
    return outer_->Release();
}

HRESULT HttpClient::LoadTypeInfo(LCID lcid) {
    const common::CriticalSectionGuard guard(lock_);
    if (typeInfo_)
        return S_OK;
    ITypeLib* library = nullptr;
    HRESULT hr = LoadRegTypeLib(LIBID_OvHttpClientLib, 1, 0, lcid, &library);
    if (FAILED(hr)) {
        // Not registered (yet): the type library inside this module serves as well.
        wchar_t path[MAX_PATH];
        if (GetModuleFileNameW(ModuleHandle(), path, MAX_PATH) == 0)
            return hr;
        hr = LoadTypeLibEx(path, REGKIND_NONE, &library);
        if (FAILED(hr))
            return hr;
    }
    hr = library->GetTypeInfoOfGuid(IID_IOvHttpClient, &typeInfo_);
    library->Release();
    return hr;
}

STDMETHODIMP HttpClient::GetTypeInfoCount(UINT* count) {
    if (!count)
        return E_INVALIDARG;
    *count = 1;
    return S_OK;
}

STDMETHODIMP HttpClient::GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) {
    if (!info)
        return E_INVALIDARG;
    *info = nullptr;
    if (index != 0)
        return DISP_E_BADINDEX;
    const HRESULT hr = LoadTypeInfo(lcid);
    if (FAILED(hr))
        return hr;
    typeInfo_->AddRef();
    *info = typeInfo_;
    return S_OK;
}

STDMETHODIMP HttpClient::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                       DISPID* ids) {
    if (!IsEqualIID(iid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    // The type information would read and write through these without a check.
    if (count != 0 && (!names || !ids))
        return E_INVALIDARG;
    for (UINT i = 0; i < count; ++i)
        if (!names[i])
            return E_INVALIDARG;
    const HRESULT hr = LoadTypeInfo(lcid);
    if (FAILED(hr))
        return hr;
    return DispGetIDsOfNames(typeInfo_, names, count, ids);
}

STDMETHODIMP HttpClient::Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                                VARIANT* result, EXCEPINFO* exception, UINT* argError) {
    if (!IsEqualIID(iid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    const HRESULT hr = LoadTypeInfo(lcid);
    if (FAILED(hr))
        return hr;
    return DispInvoke(static_cast<IOvHttpClient*>(this), typeInfo_, id, flags, params, result,
                      exception, argError);
}

STDMETHODIMP HttpClient::InterfaceSupportsErrorInfo(REFIID iid) {
    return IsEqualIID(iid, IID_IOvHttpClient) ? S_OK : S_FALSE;
}

STDMETHODIMP HttpClient::get_About(BSTR* pbstrAbout) {
    ClearErrorInfo();
    try {
        return GetText(AboutText(), pbstrAbout);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP HttpClient::get_UserData(VARIANT* pvarUserData) {
    ClearErrorInfo();
    const common::CriticalSectionGuard guard(lock_);
    if (!pvarUserData)
        return E_INVALIDARG;
    VariantInit(pvarUserData);
    return VariantCopy(pvarUserData, userData_.Get());
}

STDMETHODIMP HttpClient::put_UserData(VARIANT varUserData) {
    ClearErrorInfo();
    const common::CriticalSectionGuard guard(lock_);
    // The value itself is kept, never a reference into the caller's memory.
    common::Variant copy;
    if (FAILED(VariantCopyInd(copy.Get(), &varUserData)))
        return ReportError(kErrInvalidPropertyValue, kSource, L"Invalid property value",
                           IID_IOvHttpClient);
    userData_ = copy;
    return S_OK;
}

STDMETHODIMP HttpClient::get_HttpVersion(BSTR* out) {
    ClearErrorInfo();
    const common::CriticalSectionGuard guard(lock_);
    return GetText(httpVersion_, out);
}
STDMETHODIMP HttpClient::put_HttpVersion(BSTR value) {
    ClearErrorInfo();
    const common::CriticalSectionGuard guard(lock_);
    return PutText(httpVersion_, value);
}
STDMETHODIMP HttpClient::get_ProxyAddress(BSTR* out) {
    ClearErrorInfo();
    const common::CriticalSectionGuard guard(lock_);
    return GetText(proxyAddress_, out);
}
STDMETHODIMP HttpClient::put_ProxyAddress(BSTR value) {
    ClearErrorInfo();
    const common::CriticalSectionGuard guard(lock_);
    return PutText(proxyAddress_, value);
}
STDMETHODIMP HttpClient::get_ProxyPort(short* out) {
    ClearErrorInfo();
    const common::CriticalSectionGuard guard(lock_);
    if (!out)
        return E_INVALIDARG;
    *out = proxyPort_;
    return S_OK;
}
STDMETHODIMP HttpClient::put_ProxyPort(short value) {
    ClearErrorInfo();
    const common::CriticalSectionGuard guard(lock_);
    proxyPort_ = value;
    return S_OK;
}
STDMETHODIMP HttpClient::get_RequestURL(BSTR* out) {
    ClearErrorInfo();
    const common::CriticalSectionGuard guard(lock_);
    return GetText(requestUrl_, out);
}
STDMETHODIMP HttpClient::put_RequestURL(BSTR value) {
    ClearErrorInfo();
    const common::CriticalSectionGuard guard(lock_);
    return PutText(requestUrl_, value);
}
STDMETHODIMP HttpClient::get_RequestHeaders(BSTR* out) {
    ClearErrorInfo();
    const common::CriticalSectionGuard guard(lock_);
    return GetText(requestHeaders_, out);
}
STDMETHODIMP HttpClient::put_RequestHeaders(BSTR value) {
    ClearErrorInfo();
    const common::CriticalSectionGuard guard(lock_);
    return PutText(requestHeaders_, value);
}

STDMETHODIMP HttpClient::get_RequestBody(VARIANT* out) {
    ClearErrorInfo();
    const common::CriticalSectionGuard guard(lock_);
    if (!out)
        return E_INVALIDARG;
    VariantInit(out);
    if (!requestBody_)
        return S_OK;
    return BodyVariant(requestBody_->data(), requestBody_->size(), requestBodyBinary_, out);
}

STDMETHODIMP HttpClient::put_RequestBody(VARIANT value) {
    ClearErrorInfo();
    const common::CriticalSectionGuard guard(lock_);
    requestBody_.reset();
    requestBodyBinary_ = false;

    const VARIANT* v = &value;
    if (v->vt == (VT_VARIANT | VT_BYREF) && v->pvarVal)
        v = v->pvarVal;
    try {
        switch (v->vt) {
        case VT_EMPTY:
            return S_OK;
        case VT_BSTR:
        case VT_BSTR | VT_BYREF: {
            const BSTR text =
                v->vt == VT_BSTR ? v->bstrVal : (v->pbstrVal ? *v->pbstrVal : nullptr);
            const std::string bytes = common::ToAnsi(text);
            requestBody_ = std::make_shared<const Bytes>(bytes.begin(), bytes.end());
            return S_OK;
        }
        case VT_ARRAY | VT_UI1:
        case VT_ARRAY | VT_UI1 | VT_BYREF: {
            SAFEARRAY* array =
                (v->vt & VT_BYREF) ? (v->pparray ? *v->pparray : nullptr) : v->parray;
            if (!array || SafeArrayGetDim(array) != 1)
                break;
            LONG lower = 0, upper = -1;
            SafeArrayGetLBound(array, 1, &lower);
            SafeArrayGetUBound(array, 1, &upper);
            if (upper < lower)
                return S_OK; // an empty array: no body
            const std::size_t count = static_cast<std::size_t>(upper) - lower + 1;
            void* data = nullptr;
            if (FAILED(SafeArrayAccessData(array, &data)))
                return E_FAIL;
            const auto* first = static_cast<const std::uint8_t*>(data);
            auto bytes = std::make_shared<const Bytes>(first, first + count);
            SafeArrayUnaccessData(array);
            requestBody_ = std::move(bytes);
            requestBodyBinary_ = true;
            return S_OK;
        }
        default:
            break;
        }
    } catch (const std::bad_alloc&) {
        return E_FAIL;
    }
    return ReportError(kErrInvalidParameterType, kSource, L"Invalid parameter type",
                       IID_IOvHttpClient);
}

STDMETHODIMP HttpClient::get_ResponseStatus(BSTR* out) {
    ClearErrorInfo();
    const common::CriticalSectionGuard guard(lock_);
    return GetText(responseStatus_, out);
}
STDMETHODIMP HttpClient::get_ResponseHeaders(BSTR* out) {
    ClearErrorInfo();
    const common::CriticalSectionGuard guard(lock_);
    return GetText(responseHeaders_, out);
}

STDMETHODIMP HttpClient::get_ResponseBody(VARIANT_BOOL fBinary, VARIANT* out) {
    ClearErrorInfo();
    const common::CriticalSectionGuard guard(lock_);
    if (!out)
        return E_INVALIDARG;
    VariantInit(out);
    if (!responseBody_)
        return S_OK;
    return BodyVariant(responseBody_->data(), responseBody_->size(), fBinary != VARIANT_FALSE, out);
}

STDMETHODIMP HttpClient::get_TimeOut(LONG* out) {
    ClearErrorInfo();
    const common::CriticalSectionGuard guard(lock_);
    if (!out)
        return E_INVALIDARG;
    *out = timeOut_;
    return S_OK;
}
STDMETHODIMP HttpClient::put_TimeOut(LONG value) {
    ClearErrorInfo();
    const common::CriticalSectionGuard guard(lock_);
    timeOut_ = value;
    return S_OK;
}

STDMETHODIMP HttpClient::Execute(BSTR bstrMethod) {
    ClearErrorInfo();
    const common::CriticalSectionGuard guard(lock_);
    if (!bstrMethod)
        return E_INVALIDARG;
    // A call that fails leaves no response of an earlier one behind.
    responseStatus_.reset();
    responseHeaders_.reset();
    responseBody_.reset();
    try {
        return ExecuteRequest(*TextOf(bstrMethod));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT HttpClient::ExecuteRequest(const std::string& method) {
    const HWND worker = WaitForWorkerWindow();
    if (!worker)
        return E_FAIL;

    JobOwner owner{NewJob()};
    HttpRequestJob* job = owner.job;
    if (!job)
        return E_OUTOFMEMORY;

    if (!IsRequestUrlAccepted(requestUrl_)) {
        responseStatus_ = LibraryStatusLine(kStatusBadRequestUrl);
        return S_OK;
    }
    const Destination destination = ChooseDestination(*requestUrl_, proxyAddress_, proxyPort_);
    job->host = destination.host;
    job->port = destination.port;
    job->request = BuildRequestText(method, destination.target, httpVersion_, requestHeaders_);
    job->body = requestBody_;
    job->resultType = kResultOther;

    if (!PostMessageA(worker, kMsgStartRequest, reinterpret_cast<WPARAM>(job), job->serial))
        return E_FAIL;

    const LPARAM serial = job->serial;
    static_assert(kWaitWithoutLimit == INFINITE);
    WaitForSingleObject(job->doneEvent, TimeOutMilliseconds(timeOut_));
    bool stillPending;
    {
        JobLockGuard lock;
        stillPending = job->pending != 0;
        job->pending = 0;
    }
    if (stillPending) {
        // The worker aborts the exchange and frees the record.
        owner.HandOver();
        PostMessageA(worker, kMsgCancelRequest, reinterpret_cast<WPARAM>(job), serial);
        responseStatus_ = LibraryStatusLine(kStatusTimeout);
        return S_OK;
    }
    if (job->resultType == kResultSuccess && job->response.Header().size() >= 5) {
        ResponseHead head = SplitResponseHead(job->response.Header());
        responseStatus_ = std::move(head.status);
        responseHeaders_ = std::move(head.headers);
        responseBody_ = job->response.TakeBody();
        return S_OK;
    }
    responseStatus_ = LibraryStatusLine(StatusCodeText(job->resultType));
    return S_OK;
}

} // namespace ovhttp
