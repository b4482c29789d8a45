// The object's properties, their defaults and validation, through the vtable and IDispatch.
#include "tests/ovhttpclient/ovhttp_test_support.h"

#include <gtest/gtest.h>

using namespace ovtest;

namespace {

const char kUserAgent[] = "User-Agent: OvHttpClient/1.0b34\r\n";

std::string GetString(IOvHttpClient* c, HRESULT (STDMETHODCALLTYPE IOvHttpClient::*get)(BSTR*)) {
    Bstr s;
    EXPECT_EQ((c->*get)(s.Put()), S_OK);
    return s.Get() ? Narrow(s.Get()) : "<null>";
}

TEST(OvHttpClientObject, NewObjectHasTheDefaults) {
    auto c = NewClient();
    EXPECT_EQ(GetString(c.Get(), &IOvHttpClient::get_HttpVersion), "HTTP/1.0");
    EXPECT_EQ(GetString(c.Get(), &IOvHttpClient::get_RequestHeaders), kUserAgent);
    EXPECT_EQ(GetString(c.Get(), &IOvHttpClient::get_ProxyAddress), "<null>");
    EXPECT_EQ(GetString(c.Get(), &IOvHttpClient::get_RequestURL), "<null>");
    EXPECT_EQ(GetString(c.Get(), &IOvHttpClient::get_ResponseStatus), "<null>");
    EXPECT_EQ(GetString(c.Get(), &IOvHttpClient::get_ResponseHeaders), "<null>");
    short port = 0;
    EXPECT_EQ(c->get_ProxyPort(&port), S_OK);
    EXPECT_EQ(port, 80);
    LONG timeout = 0;
    EXPECT_EQ(c->get_TimeOut(&timeout), S_OK);
    EXPECT_EQ(timeout, 30);
    Variant v;
    EXPECT_EQ(c->get_UserData(v.Put()), S_OK);
    EXPECT_EQ(v.Get()->vt, VT_EMPTY);
    EXPECT_EQ(c->get_RequestBody(v.Put()), S_OK);
    EXPECT_EQ(v.Get()->vt, VT_EMPTY);
    EXPECT_EQ(Body(c.Get(), true), "<empty>");
}

TEST(OvHttpClientObject, AboutNamesTheLibraryAndItsVersion) {
    auto c = NewClient();
    EXPECT_EQ(GetString(c.Get(), &IOvHttpClient::get_About),
              "Orvane HttpClient Library\r\nVersion 1.0 - Build 34");
}

TEST(OvHttpClientObject, GettersRefuseANullOutPointer) {
    auto c = NewClient();
    EXPECT_EQ(c->get_About(nullptr), E_INVALIDARG);
    EXPECT_EQ(c->get_UserData(nullptr), E_INVALIDARG);
    EXPECT_EQ(c->get_HttpVersion(nullptr), E_INVALIDARG);
    EXPECT_EQ(c->get_ProxyAddress(nullptr), E_INVALIDARG);
    EXPECT_EQ(c->get_ProxyPort(nullptr), E_INVALIDARG);
    EXPECT_EQ(c->get_RequestURL(nullptr), E_INVALIDARG);
    EXPECT_EQ(c->get_RequestHeaders(nullptr), E_INVALIDARG);
    EXPECT_EQ(c->get_RequestBody(nullptr), E_INVALIDARG);
    EXPECT_EQ(c->get_ResponseStatus(nullptr), E_INVALIDARG);
    EXPECT_EQ(c->get_ResponseHeaders(nullptr), E_INVALIDARG);
    EXPECT_EQ(c->get_ResponseBody(VARIANT_TRUE, nullptr), E_INVALIDARG);
    EXPECT_EQ(c->get_TimeOut(nullptr), E_INVALIDARG);
    EXPECT_EQ(c->Execute(nullptr), E_INVALIDARG);
}

TEST(OvHttpClientObject, StringPropertiesKeepNullEmptyAndText) {
    auto c = NewClient();
    using Get = HRESULT (STDMETHODCALLTYPE IOvHttpClient::*)(BSTR*);
    using Put = HRESULT (STDMETHODCALLTYPE IOvHttpClient::*)(BSTR);
    const std::pair<Get, Put> properties[] = {
        {&IOvHttpClient::get_HttpVersion, &IOvHttpClient::put_HttpVersion},
        {&IOvHttpClient::get_ProxyAddress, &IOvHttpClient::put_ProxyAddress},
        {&IOvHttpClient::get_RequestURL, &IOvHttpClient::put_RequestURL},
        {&IOvHttpClient::get_RequestHeaders, &IOvHttpClient::put_RequestHeaders},
    };
    for (const auto& [get, put] : properties) {
        Bstr text(L"caf\u00e9 text");
        EXPECT_EQ((c.Get()->*put)(text.Get()), S_OK);
        EXPECT_EQ(GetString(c.Get(), get), "caf\xe9 text");
        // A text read back ends at its first NUL.
        Bstr withNul = Bstr::FromAnsi(std::string("ab\0cd", 5));
        EXPECT_EQ((c.Get()->*put)(withNul.Get()), S_OK);
        EXPECT_EQ(GetString(c.Get(), get), "ab");
        Bstr empty(L"");
        EXPECT_EQ((c.Get()->*put)(empty.Get()), S_OK);
        EXPECT_EQ(GetString(c.Get(), get), "");
        EXPECT_EQ((c.Get()->*put)(nullptr), S_OK);
        EXPECT_EQ(GetString(c.Get(), get), "<null>");
        // A plain wide string from a C++ caller, whose "length prefix" is whatever lies before
        // it: the text is read up to its NUL.
        struct {
            UINT32 notALength = 2;
            wchar_t text[8] = L"plain";
        } plain;
        EXPECT_EQ((c.Get()->*put)(plain.text), S_OK);
        EXPECT_EQ(GetString(c.Get(), get), "plain");
    }
}

TEST(OvHttpClientObject, NumbersAreStoredAsGiven) {
    auto c = NewClient();
    for (short port : {short(-1), short(0), short(3128), short(32767)}) {
        EXPECT_EQ(c->put_ProxyPort(port), S_OK);
        short back = 0;
        c->get_ProxyPort(&back);
        EXPECT_EQ(back, port);
    }
    for (LONG timeout : {-5L, 0L, 1L, 100000L}) {
        EXPECT_EQ(c->put_TimeOut(timeout), S_OK);
        LONG back = 0;
        c->get_TimeOut(&back);
        EXPECT_EQ(back, timeout);
    }
}

TEST(OvHttpClientObject, UserDataIsACopyAndABadValueIsRefused) {
    auto c = NewClient();
    Variant text;
    text.Get()->vt = VT_BSTR;
    text.Get()->bstrVal = SysAllocString(L"mine");
    EXPECT_EQ(c->put_UserData(*text.Get()), S_OK);
    Variant back;
    EXPECT_EQ(c->get_UserData(back.Put()), S_OK);
    ASSERT_EQ(back.Get()->vt, VT_BSTR);
    EXPECT_EQ(Narrow(back.Get()->bstrVal), "mine");
    EXPECT_NE(back.Get()->bstrVal, text.Get()->bstrVal);

    // By reference: the value is kept, not the reference to the caller's variable.
    LONG number = 7;
    VARIANT ref;
    ref.vt = VT_I4 | VT_BYREF;
    ref.plVal = &number;
    EXPECT_EQ(c->put_UserData(ref), S_OK);
    number = 8;
    EXPECT_EQ(c->get_UserData(back.Put()), S_OK);
    ASSERT_EQ(back.Get()->vt, VT_I4);
    EXPECT_EQ(back.Get()->lVal, 7);

    VARIANT bad;
    VariantInit(&bad);
    bad.vt = 0x00FF; // no such type: the copy fails
    EXPECT_EQ(c->put_UserData(bad), static_cast<HRESULT>(0x80029C40));
    const ErrorText error = TakeErrorInfo();
    EXPECT_EQ(error.source, "OvHttpClient");
    EXPECT_EQ(error.description, "Invalid property value");
    EXPECT_EQ(c->get_UserData(back.Put()), S_OK);
    EXPECT_EQ(back.Get()->lVal, 7);
}

TEST(OvHttpClientObject, RequestBodyTakesStringsAndByteArraysOnly) {
    auto c = NewClient();
    Variant text;
    text.Get()->vt = VT_BSTR;
    text.Get()->bstrVal = SysAllocString(L"a=1&b=2");
    EXPECT_EQ(c->put_RequestBody(*text.Get()), S_OK);
    Variant back;
    EXPECT_EQ(c->get_RequestBody(back.Put()), S_OK);
    ASSERT_EQ(back.Get()->vt, VT_BSTR);
    EXPECT_EQ(Narrow(back.Get()->bstrVal), "a=1&b=2");

    const std::string bytes("\x00\x01\xff\x80z", 5);
    Variant array = ByteArray(bytes);
    EXPECT_EQ(c->put_RequestBody(*array.Get()), S_OK);
    EXPECT_EQ(c->get_RequestBody(back.Put()), S_OK);
    EXPECT_EQ(ByteString(*back.Get()), bytes);

    // A byte array by reference, too.
    VARIANT ref;
    ref.vt = VT_ARRAY | VT_UI1 | VT_BYREF;
    ref.pparray = &array.Get()->parray;
    EXPECT_EQ(c->put_RequestBody(ref), S_OK);
    EXPECT_EQ(c->get_RequestBody(back.Put()), S_OK);
    EXPECT_EQ(ByteString(*back.Get()), bytes);

    Variant empty = ByteArray("");
    EXPECT_EQ(c->put_RequestBody(*empty.Get()), S_OK);
    EXPECT_EQ(c->get_RequestBody(back.Put()), S_OK);
    EXPECT_EQ(back.Get()->vt, VT_EMPTY);

    EXPECT_EQ(c->put_RequestBody(*array.Get()), S_OK);
    Variant number;
    number.Get()->vt = VT_I4;
    number.Get()->lVal = 5;
    EXPECT_EQ(c->put_RequestBody(*number.Get()), static_cast<HRESULT>(0x80029C41));
    const ErrorText error = TakeErrorInfo();
    EXPECT_EQ(error.source, "OvHttpClient");
    EXPECT_EQ(error.description, "Invalid parameter type");
    // The old body was released before the new value was judged.
    EXPECT_EQ(c->get_RequestBody(back.Put()), S_OK);
    EXPECT_EQ(back.Get()->vt, VT_EMPTY);

    Variant none;
    EXPECT_EQ(c->put_RequestBody(*none.Get()), S_OK);
}

TEST(OvHttpClientObject, EveryMemberClearsTheErrorInformation) {
    auto c = NewClient();
    Variant number;
    number.Get()->vt = VT_I4;
    EXPECT_EQ(c->put_RequestBody(*number.Get()), static_cast<HRESULT>(0x80029C41));
    short port;
    EXPECT_EQ(c->get_ProxyPort(&port), S_OK);
    EXPECT_EQ(TakeErrorInfo().source, "");
}

TEST(OvHttpClientObject, SupportsErrorInfoForItsInterfaceOnly) {
    auto c = NewClient();
    ComPtr<ISupportErrorInfo> support;
    ASSERT_EQ(c.As(support), S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IOvHttpClient), S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IDispatch), S_FALSE);
}

// ---- IDispatch ----

DISPID IdOf(IDispatch* d, const wchar_t* name) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(d->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK) << name;
    return id;
}

TEST(OvHttpClientDispatch, NamesHaveTheirDispatchIds) {
    auto c = NewClient();
    ComPtr<IDispatch> d;
    ASSERT_EQ(c.As(d), S_OK);
    const std::pair<const wchar_t*, DISPID> members[] = {
        {L"About", 1},          {L"UserData", 2},
        {L"HttpVersion", 3},    {L"ProxyAddress", 4},
        {L"ProxyPort", 5},      {L"RequestURL", 6},
        {L"RequestHeaders", 7}, {L"RequestBody", 8},
        {L"ResponseStatus", 9}, {L"ResponseHeaders", 10},
        {L"ResponseBody", 11},  {L"TimeOut", 12},
        {L"Execute", 13},
    };
    for (const auto& [name, id] : members)
        EXPECT_EQ(IdOf(d.Get(), name), id);
    UINT count = 0;
    EXPECT_EQ(d->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
    ComPtr<ITypeInfo> info;
    EXPECT_EQ(d->GetTypeInfo(1, 0, info.Put()), DISP_E_BADINDEX);
    ASSERT_EQ(d->GetTypeInfo(0, 0, info.Put()), S_OK);
    Bstr doc;
    ASSERT_EQ(info->GetDocumentation(11, nullptr, doc.Put(), nullptr, nullptr), S_OK);
    EXPECT_EQ(Narrow(doc.Get()), "Returns the response body for the http client object.");
}

TEST(OvHttpClientDispatch, RefusesNullPointers) {
    auto c = NewClient();
    ComPtr<IDispatch> d;
    ASSERT_EQ(c.As(d), S_OK);
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"About")};
    LPOLESTR nullName[] = {nullptr};
    DISPID id = 0;
    DISPPARAMS none{};
    const std::pair<const char*, HRESULT> calls[] = {
        {"GetTypeInfoCount", d->GetTypeInfoCount(nullptr)},
        {"GetTypeInfo", d->GetTypeInfo(0, 0, nullptr)},
        {"GetIDsOfNames names", d->GetIDsOfNames(IID_NULL, nullptr, 1, 0, &id)},
        {"GetIDsOfNames ids", d->GetIDsOfNames(IID_NULL, names, 1, 0, nullptr)},
        {"GetIDsOfNames a null name", d->GetIDsOfNames(IID_NULL, nullName, 1, 0, &id)},
        {"Invoke parameters",
         d->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYGET, nullptr, nullptr, nullptr, nullptr)},
    };
    for (const auto& [call, hr] : calls)
        EXPECT_EQ(hr, E_INVALIDARG) << call;
    // A result slot is optional.
    EXPECT_EQ(d->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, nullptr, nullptr, nullptr),
              S_OK);
}

TEST(OvHttpClientDispatch, PropertiesAndErrorsTravelThroughInvoke) {
    auto c = NewClient();
    ComPtr<IDispatch> d;
    ASSERT_EQ(c.As(d), S_OK);

    Variant result;
    DISPPARAMS none{};
    ASSERT_EQ(
        d->Invoke(5, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, result.Put(), nullptr, nullptr),
        S_OK);
    EXPECT_EQ(result.Get()->vt, VT_I2);
    EXPECT_EQ(result.Get()->iVal, 80);

    VARIANT arg;
    arg.vt = VT_BSTR;
    arg.bstrVal = SysAllocString(L"HTTP/1.1");
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS put{&arg, &named, 1, 1};
    EXPECT_EQ(d->Invoke(3, IID_NULL, 0, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr, nullptr),
              S_OK);
    VariantClear(&arg);
    Bstr version;
    c->get_HttpVersion(version.Put());
    EXPECT_EQ(Narrow(version.Get()), "HTTP/1.1");

    arg.vt = VT_R8;
    arg.dblVal = 1.5;
    EXCEPINFO exception{};
    EXPECT_EQ(d->Invoke(8, IID_NULL, 0, DISPATCH_PROPERTYPUT, &put, nullptr, &exception, nullptr),
              DISP_E_EXCEPTION);
    EXPECT_EQ(exception.scode, static_cast<SCODE>(0x80029C41));
    EXPECT_EQ(Narrow(exception.bstrSource), "OvHttpClient");
    EXPECT_EQ(Narrow(exception.bstrDescription), "Invalid parameter type");
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);

    // ResponseBody takes its argument as a property get with one parameter.
    VARIANT binary;
    binary.vt = VT_BOOL;
    binary.boolVal = VARIANT_TRUE;
    DISPPARAMS get{&binary, nullptr, 1, 0};
    EXPECT_EQ(d->Invoke(11, IID_NULL, 0, DISPATCH_PROPERTYGET | DISPATCH_METHOD, &get, result.Put(),
                        nullptr, nullptr),
              S_OK);
    EXPECT_EQ(result.Get()->vt, VT_EMPTY);

    // Execute without a URL answers with the library's own status line.
    VARIANT method;
    method.vt = VT_BSTR;
    method.bstrVal = SysAllocString(L"GET");
    DISPPARAMS call{&method, nullptr, 1, 0};
    EXPECT_EQ(d->Invoke(13, IID_NULL, 0, DISPATCH_METHOD, &call, nullptr, nullptr, nullptr), S_OK);
    VariantClear(&method);
    EXPECT_EQ(
        d->Invoke(9, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, result.Put(), nullptr, nullptr),
        S_OK);
    ASSERT_EQ(result.Get()->vt, VT_BSTR);
    EXPECT_EQ(Narrow(result.Get()->bstrVal), "HTTP/LIB 461 Bad Request URL");
}

} // namespace
