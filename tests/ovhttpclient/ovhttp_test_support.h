#pragma once
// Loads OvHttpClient.dll from the build tree and hands out its objects, as a COM client would
// after CoGetClassObject, without needing the registry.
#include <windows.h>

#include "common/win32/bstr.h"
#include "common/win32/com_ptr.h"
#include "common/win32/variant.h"
#include "ovhttpclient_h.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ovtest {

using common::Bstr;
using common::ComPtr;
using common::Variant;

HMODULE Library();
HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out);
HRESULT CanUnloadNow();
ComPtr<IClassFactory> Factory();
ComPtr<IOvHttpClient> NewClient();

// The test server's port, a refused port, and URLs on the server.
int ServerPort();
int ClosedPort();
std::string Url(const std::string& path);

std::string Narrow(BSTR text);
std::wstring Wide(const std::string& text);
std::string ByteString(const VARIANT& v); // bytes of a VT_ARRAY|VT_UI1
Variant ByteArray(const std::string& bytes);

// The thread's error information: source and description ("" when there is none).
struct ErrorText {
    std::string source;
    std::string description;
};
ErrorText TakeErrorInfo();

std::string Status(IOvHttpClient* client);
std::string Headers(IOvHttpClient* client);
std::string Body(IOvHttpClient* client, bool binary);
HRESULT Execute(IOvHttpClient* client, const char* method);
void SetUrl(IOvHttpClient* client, const std::string& url);

} // namespace ovtest
