#pragma once
// HttpClient: the library's one creatable object (class OvHttpClient), IOvHttpClient over the
// request settings, Execute and the last response. Aggregatable.
#include <windows.h>

#include "common/win32/com_module.h"
#include "common/win32/dispatch.h"
#include "common/win32/handles.h"
#include "common/win32/variant.h"
#include "ovhttpclient/response.h"
#include "ovhttpclient_h.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace ovhttp {

class HttpClient final : public common::win32::Dispatchable<IOvHttpClient>,
                         public ISupportErrorInfo {
public:
    // Creates an object (aggregated under `outer` when given) and queries it for `iid`.
    static HRESULT Create(IUnknown* outer, REFIID iid, void** out);

    // IUnknown: delegates to the controlling unknown.
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch comes from the type information of IOvHttpClient.

    // IOvHttpClient
    STDMETHODIMP get_About(BSTR* pbstrAbout) override;
    STDMETHODIMP get_UserData(VARIANT* pvarUserData) override;
    STDMETHODIMP put_UserData(VARIANT varUserData) override;
    STDMETHODIMP get_HttpVersion(BSTR* pbstrHttpVersion) override;
    STDMETHODIMP put_HttpVersion(BSTR bstrHttpVersion) override;
    STDMETHODIMP get_ProxyAddress(BSTR* pbstrProxyAddress) override;
    STDMETHODIMP put_ProxyAddress(BSTR bstrProxyAddress) override;
    STDMETHODIMP get_ProxyPort(short* psProxyPort) override;
    STDMETHODIMP put_ProxyPort(short sProxyPort) override;
    STDMETHODIMP get_RequestURL(BSTR* pbstrRequestURL) override;
    STDMETHODIMP put_RequestURL(BSTR bstrRequestURL) override;
    STDMETHODIMP get_RequestHeaders(BSTR* pbstrRequestHeaders) override;
    STDMETHODIMP put_RequestHeaders(BSTR bstrRequestHeaders) override;
    STDMETHODIMP get_RequestBody(VARIANT* pvarRequestBody) override;
    STDMETHODIMP put_RequestBody(VARIANT varRequestBody) override;
    STDMETHODIMP get_ResponseStatus(BSTR* pbstrResponseStatus) override;
    STDMETHODIMP get_ResponseHeaders(BSTR* pbstrResponseHeaders) override;
    STDMETHODIMP get_ResponseBody(VARIANT_BOOL fBinary, VARIANT* pvarResponseBody) override;
    STDMETHODIMP get_TimeOut(LONG* plTimeOut) override;
    STDMETHODIMP put_TimeOut(LONG lTimeOut) override;
    STDMETHODIMP Execute(BSTR bstrMethod) override;

    // ISupportErrorInfo
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override;

private:
    using Bytes = std::vector<std::uint8_t>;

    // The non-delegating unknown: the object's own identity and lifetime.
    struct Inner final : IUnknown {
        explicit Inner(HttpClient* owner) : owner_(owner) {}
        HttpClient* self() const { return owner_; }
        STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
        STDMETHODIMP_(ULONG) AddRef() override;
        STDMETHODIMP_(ULONG) Release() override;

    private:
        HttpClient* owner_;
    };

    explicit HttpClient(IUnknown* outer);
    ~HttpClient() override;
    static std::span<const common::win32::InterfaceEntry> Interfaces();
    // Every member goes through here: it holds the object's lock, clears the thread's error
    // information and turns exceptions into HRESULTs.
    template <typename Body> HRESULT Member(Body&& body);
    // A member that reads one value into a caller's slot.
    template <typename T> HRESULT Read(T* out, const T& value);
    template <typename T> HRESULT Write(T& field, const T& value);
    HRESULT ExecuteRequest(const std::string& method);

    // Callers should keep to the object's apartment; a C++ caller that uses one object from
    // several threads at once is served one call at a time instead of corrupting its state.
    common::CriticalSection lock_;
    Inner inner_{this};
    common::win32::RefCount refs_;
    common::win32::ModuleReference module_;
    IUnknown* outer_;
    common::Variant userData_;
    std::optional<std::string> httpVersion_ = std::string("HTTP/1.0");
    std::optional<std::string> proxyAddress_;
    short proxyPort_ = 80;
    std::optional<std::string> requestUrl_;
    std::optional<std::string> requestHeaders_;
    bool requestBodyBinary_ = false;
    std::shared_ptr<const Bytes> requestBody_;
    std::optional<std::string> responseStatus_;
    std::optional<std::string> responseHeaders_;
    std::optional<ByteBuffer> responseBody_;
    LONG timeOut_ = 30;
};

} // namespace ovhttp
