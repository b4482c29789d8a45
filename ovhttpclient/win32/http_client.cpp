#include "ovhttpclient/win32/http_client.h"

#include "common/win32/bstr.h"
#include "common/win32/error_info.h"
#include "common/win32/handles.h"
#include "common/win32/type_library.h"
#include "ovhttpclient/library_status.h"
#include "ovhttpclient/request_text.h"
#include "ovhttpclient/time_out.h"
#include "ovhttpclient/win32/error_info.h"
#include "ovhttpclient/win32/http_request_job.h"
#include "ovhttpclient/win32/http_worker.h"

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
        return kNullArgument;
    *out = nullptr;
    if (!text)
        return S_OK;
    *out = NewBstr(text->data(), text->size());
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT PutText(std::optional<std::string>& text, BSTR value) {
    text = TextOf(value);
    return S_OK;
}

HRESULT ReportError(HRESULT hr, const wchar_t* description) {
    return common::win32::ReportError(hr, kSource, description, IID_IOvHttpClient);
}

HRESULT LoadOwnTypeInfo(REFGUID guid, LCID lcid, ITypeInfo** info) {
    return common::win32::RegisteredTypeInfo(LIBID_OvHttpClientLib, kVersionMajor, kVersionMinor,
                                             lcid, guid, info);
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

// Forgets the request on every way out of Execute; the worker may still hold its record.
struct JobForgetter {
    RequestSerial serial;
    ~JobForgetter() { Jobs().Remove(serial); }
};

} // namespace

HRESULT HttpClient::Create(IUnknown* outer, REFIID iid, void** out) {
    if (!out)
        return kNullArgument;
    *out = nullptr;
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
    : Dispatchable(IID_IOvHttpClient, LoadOwnTypeInfo, kNullArgument),
      outer_(outer ? outer : &inner_), requestHeaders_(DefaultRequestHeaders()) {
    WorkerAddObject();
}

HttpClient::~HttpClient() {
    WorkerRemoveObject();
}

std::span<const common::win32::InterfaceEntry> HttpClient::Interfaces() {
    using common::win32::Entry;
    static constexpr common::win32::InterfaceEntry table[] = {
        {&IID_IUnknown,
         [](void* object) -> IUnknown* { return &static_cast<HttpClient*>(object)->inner_; }},
        Entry<HttpClient, IOvHttpClient>(IID_IDispatch),
        Entry<HttpClient, IOvHttpClient>(IID_IOvHttpClient),
        Entry<HttpClient, ISupportErrorInfo>(IID_ISupportErrorInfo),
    };
    return table;
}

STDMETHODIMP HttpClient::Inner::QueryInterface(REFIID iid, void** out) {
    return common::win32::QueryFromTable(self(), HttpClient::Interfaces(), iid, out);
}

STDMETHODIMP_(ULONG) HttpClient::Inner::AddRef() {
    return self()->refs_.Add();
}

STDMETHODIMP_(ULONG) HttpClient::Inner::Release() {
    HttpClient* object = self();
    const ULONG left = object->refs_.Drop();
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

STDMETHODIMP HttpClient::InterfaceSupportsErrorInfo(REFIID iid) {
    return IsEqualIID(iid, IID_IOvHttpClient) ? S_OK : S_FALSE;
}

template <typename Body> HRESULT HttpClient::Member(Body&& body) {
    common::win32::ClearErrorInfo();
    const common::CriticalSectionGuard guard(lock_);
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

template <typename T> HRESULT HttpClient::Read(T* out, const T& value) {
    return Member([&] {
        if (!out)
            return kNullArgument;
        *out = value;
        return S_OK;
    });
}

template <typename T> HRESULT HttpClient::Write(T& field, const T& value) {
    return Member([&] {
        field = value;
        return S_OK;
    });
}

STDMETHODIMP HttpClient::get_About(BSTR* pbstrAbout) {
    return Member([&] { return GetText(AboutText(), pbstrAbout); });
}

STDMETHODIMP HttpClient::get_UserData(VARIANT* pvarUserData) {
    return Member([&] {
        if (!pvarUserData)
            return kNullArgument;
        VariantInit(pvarUserData);
        return VariantCopy(pvarUserData, userData_.Get());
    });
}

STDMETHODIMP HttpClient::put_UserData(VARIANT varUserData) {
    return Member([&] {
        // The value itself is kept, never a reference into the caller's memory.
        common::Variant copy;
        if (FAILED(VariantCopyInd(copy.Get(), &varUserData)))
            return ReportError(kErrInvalidPropertyValue, L"Invalid property value");
        userData_ = copy;
        return S_OK;
    });
}

STDMETHODIMP HttpClient::get_HttpVersion(BSTR* out) {
    return Member([&] { return GetText(httpVersion_, out); });
}
STDMETHODIMP HttpClient::put_HttpVersion(BSTR value) {
    return Member([&] { return PutText(httpVersion_, value); });
}
STDMETHODIMP HttpClient::get_ProxyAddress(BSTR* out) {
    return Member([&] { return GetText(proxyAddress_, out); });
}
STDMETHODIMP HttpClient::put_ProxyAddress(BSTR value) {
    return Member([&] { return PutText(proxyAddress_, value); });
}
STDMETHODIMP HttpClient::get_ProxyPort(short* out) {
    return Read(out, proxyPort_);
}
STDMETHODIMP HttpClient::put_ProxyPort(short value) {
    return Write(proxyPort_, value);
}
STDMETHODIMP HttpClient::get_RequestURL(BSTR* out) {
    return Member([&] { return GetText(requestUrl_, out); });
}
STDMETHODIMP HttpClient::put_RequestURL(BSTR value) {
    return Member([&] { return PutText(requestUrl_, value); });
}
STDMETHODIMP HttpClient::get_RequestHeaders(BSTR* out) {
    return Member([&] { return GetText(requestHeaders_, out); });
}
STDMETHODIMP HttpClient::put_RequestHeaders(BSTR value) {
    return Member([&] { return PutText(requestHeaders_, value); });
}

STDMETHODIMP HttpClient::get_RequestBody(VARIANT* out) {
    return Member([&] {
        if (!out)
            return kNullArgument;
        VariantInit(out);
        if (!requestBody_)
            return S_OK;
        return BodyVariant(requestBody_->data(), requestBody_->size(), requestBodyBinary_, out);
    });
}

STDMETHODIMP HttpClient::put_RequestBody(VARIANT value) {
    return Member([&]() -> HRESULT {
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
                std::shared_ptr<const Bytes> bytes;
                try {
                    bytes = std::make_shared<const Bytes>(first, first + count);
                } catch (...) {
                    SafeArrayUnaccessData(array);
                    throw;
                }
                SafeArrayUnaccessData(array);
                requestBody_ = std::move(bytes);
                requestBodyBinary_ = true;
                return S_OK;
            }
            default:
                break;
            }
        } catch (const std::bad_alloc&) {
            return E_FAIL; // the body's store could not be made
        }
        return ReportError(kErrInvalidParameterType, L"Invalid parameter type");
    });
}

STDMETHODIMP HttpClient::get_ResponseStatus(BSTR* out) {
    return Member([&] { return GetText(responseStatus_, out); });
}
STDMETHODIMP HttpClient::get_ResponseHeaders(BSTR* out) {
    return Member([&] { return GetText(responseHeaders_, out); });
}

STDMETHODIMP HttpClient::get_ResponseBody(VARIANT_BOOL fBinary, VARIANT* out) {
    return Member([&] {
        if (!out)
            return kNullArgument;
        VariantInit(out);
        if (!responseBody_)
            return S_OK;
        return BodyVariant(responseBody_->data(), responseBody_->size(), fBinary != VARIANT_FALSE,
                           out);
    });
}

STDMETHODIMP HttpClient::get_TimeOut(LONG* out) {
    return Read(out, timeOut_);
}
STDMETHODIMP HttpClient::put_TimeOut(LONG value) {
    return Write(timeOut_, value);
}

STDMETHODIMP HttpClient::Execute(BSTR bstrMethod) {
    return Member([&] {
        if (!bstrMethod)
            return kNullArgument;
        // A call that fails leaves no response of an earlier one behind.
        responseStatus_.reset();
        responseHeaders_.reset();
        responseBody_.reset();
        return ExecuteRequest(*TextOf(bstrMethod));
    });
}

HRESULT HttpClient::ExecuteRequest(const std::string& method) {
    const HWND worker = WaitForWorkerWindow();
    if (!worker)
        return E_FAIL;

    const JobPtr job = Jobs().Add();
    if (!job)
        return E_OUTOFMEMORY;
    const JobForgetter forget{job->serial};

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

    if (!PostMessageA(worker, kMsgStartRequest, job->serial, 0))
        return E_FAIL;

    static_assert(kWaitWithoutLimit == INFINITE);
    WaitForSingleObject(job->doneEvent.Get(), TimeOutMilliseconds(timeOut_));
    if (Jobs().GiveUp(*job)) {
        // The worker aborts the exchange; a request it has not started yet is never started.
        PostMessageA(worker, kMsgCancelRequest, job->serial, 0);
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
