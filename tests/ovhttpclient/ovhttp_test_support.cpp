#include "tests/ovhttpclient/ovhttp_test_support.h"

#include "tests/support/test_env.h"

#include <cstdlib>
#include <stdexcept>

namespace ovtest {

HMODULE Library() {
    static HMODULE module = [] {
        const std::string path = testenv::BinaryDir() + "\\ovhttpclient\\OvHttpClient.dll";
        HMODULE m = LoadLibraryA(path.c_str());
        if (!m)
            throw std::runtime_error("cannot load " + path);
        return m;
    }();
    return module;
}

HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    using Fn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    auto fn = reinterpret_cast<Fn>(
        reinterpret_cast<void*>(GetProcAddress(Library(), "DllGetClassObject")));
    return fn(clsid, iid, out);
}

HRESULT CanUnloadNow() {
    using Fn = HRESULT(WINAPI*)();
    auto fn =
        reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(Library(), "DllCanUnloadNow")));
    return fn();
}

ComPtr<IClassFactory> Factory() {
    ComPtr<IClassFactory> factory;
    if (FAILED(GetClassObject(CLSID_OvHttpClient, IID_IClassFactory, factory.PutVoid())))
        throw std::runtime_error("no class factory");
    return factory;
}

ComPtr<IOvHttpClient> NewClient() {
    ComPtr<IOvHttpClient> client;
    if (FAILED(Factory()->CreateInstance(nullptr, IID_IOvHttpClient, client.PutVoid())))
        throw std::runtime_error("no object");
    return client;
}

static int EnvInt(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::atoi(v) : 0;
}
int ServerPort() {
    return EnvInt("OVHTTP_PORT");
}
int ClosedPort() {
    return EnvInt("OVHTTP_CLOSED_PORT");
}
std::string Url(const std::string& path) {
    return "http://127.0.0.1:" + std::to_string(ServerPort()) + path;
}

std::string Narrow(BSTR text) {
    return common::ToAnsi(text);
}

std::wstring Wide(const std::string& text) {
    std::wstring out;
    for (unsigned char c : text)
        out += static_cast<wchar_t>(c);
    return out;
}

std::string ByteString(const VARIANT& v) {
    if (v.vt != (VT_ARRAY | VT_UI1))
        return "<not a byte array>";
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(v.parray, 1, &lower);
    SafeArrayGetUBound(v.parray, 1, &upper);
    std::string out;
    if (upper < lower)
        return out;
    void* data = nullptr;
    SafeArrayAccessData(v.parray, &data);
    out.assign(static_cast<const char*>(data), static_cast<std::size_t>(upper - lower + 1));
    SafeArrayUnaccessData(v.parray);
    return out;
}

Variant ByteArray(const std::string& bytes) {
    Variant v;
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    if (!bytes.empty()) {
        void* data = nullptr;
        SafeArrayAccessData(array, &data);
        memcpy(data, bytes.data(), bytes.size());
        SafeArrayUnaccessData(array);
    }
    v.Get()->vt = VT_ARRAY | VT_UI1;
    v.Get()->parray = array;
    return v;
}

ErrorText TakeErrorInfo() {
    ErrorText text;
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.Put()) != S_OK || !info)
        return text;
    Bstr source, description;
    info->GetSource(source.Put());
    info->GetDescription(description.Put());
    text.source = Narrow(source.Get());
    text.description = Narrow(description.Get());
    return text;
}

std::string Status(IOvHttpClient* client) {
    Bstr s;
    client->get_ResponseStatus(s.Put());
    return Narrow(s.Get());
}
std::string Headers(IOvHttpClient* client) {
    Bstr s;
    client->get_ResponseHeaders(s.Put());
    return Narrow(s.Get());
}
std::string Body(IOvHttpClient* client, bool binary) {
    Variant v;
    if (FAILED(client->get_ResponseBody(binary ? VARIANT_TRUE : VARIANT_FALSE, v.Put())))
        return "<failed>";
    if (v.Get()->vt == VT_EMPTY)
        return "<empty>";
    if (binary)
        return ByteString(*v.Get());
    return v.Get()->vt == VT_BSTR ? Narrow(v.Get()->bstrVal) : "<not a string>";
}
HRESULT Execute(IOvHttpClient* client, const char* method) {
    Bstr m(Wide(method).c_str());
    return client->Execute(m.Get());
}
void SetUrl(IOvHttpClient* client, const std::string& url) {
    Bstr u(Wide(url).c_str());
    client->put_RequestURL(u.Get());
}

} // namespace ovtest
