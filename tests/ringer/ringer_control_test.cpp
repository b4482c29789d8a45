// The real Ringer.dll, registered with regsvr32 and driven late-bound through IDispatch with
// an event sink on its connection point, against the test rasapi32.dll beside this program.
// The same program runs once as itself (Wine reports an NT-family Windows) and once under
// another name that Wine tells it is Windows 98, so both record families go through the DLL.
#include <windows.h>

#include "tests/support/test_env.h"

#include "common/win32/bstr.h"
#include "common/win32/com_ptr.h"
#include "common/win32/variant.h"
#include "ringer/win32/ringer_h.h"

#include <ocidl.h>
#include <olectl.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <sstream>

using common::Bstr;
using common::ComPtr;
using common::ToAnsi;
using common::Variant;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> LinesStartingWith(const std::string& text, const std::string& prefix) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(prefix, 0) == 0)
            lines.push_back(line.substr(prefix.size()));
    return lines;
}

Variant Text(const std::string& text) {
    Variant v;
    V_VT(v.Put()) = VT_BSTR;
    V_BSTR(v.Get()) = Bstr::FromAnsi(text).Detach();
    return v;
}

Variant Boolean(bool b) {
    Variant v;
    V_VT(v.Put()) = VT_BOOL;
    V_BOOL(v.Get()) = b ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

// The outcome of one late-bound call.
struct Call {
    HRESULT hr = E_FAIL;
    Variant result;
    HRESULT scode = S_OK; // of the exception, when hr is DISP_E_EXCEPTION
    std::string source, description;
};

DISPID IdOf(IDispatch* object, const std::string& name) {
    Bstr wide = Bstr::FromAnsi(name);
    LPOLESTR names[] = {wide.Get()};
    DISPID id = DISPID_UNKNOWN;
    object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    return id;
}

Call Invoke(IDispatch* object, const std::string& name, WORD flags,
            std::vector<Variant> args = {}) {
    Call call;
    DISPID id = IdOf(object, name);
    std::vector<VARIANTARG> reversed;
    for (auto it = args.rbegin(); it != args.rend(); ++it)
        reversed.push_back(*it->Get());
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    if (flags == DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &named;
        params.cNamedArgs = 1;
    }
    EXCEPINFO ex{};
    UINT argError = 0;
    call.hr =
        object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                       flags == DISPATCH_PROPERTYPUT ? nullptr : call.result.Put(), &ex, &argError);
    if (call.hr == DISP_E_EXCEPTION) {
        call.scode = ex.scode;
        call.source = ToAnsi(ex.bstrSource);
        call.description = ToAnsi(ex.bstrDescription);
        SysFreeString(ex.bstrSource);
        SysFreeString(ex.bstrDescription);
        SysFreeString(ex.bstrHelpFile);
    }
    return call;
}

Call Get(IDispatch* object, const std::string& name, std::vector<Variant> args = {}) {
    return Invoke(object, name, DISPATCH_PROPERTYGET, std::move(args));
}
Call Method(IDispatch* object, const std::string& name, std::vector<Variant> args = {}) {
    return Invoke(object, name, DISPATCH_METHOD, std::move(args));
}

struct ErrorSeen {
    long number = 0;
    std::string source, description;
};

ErrorSeen ReadError(IDispatch* error) {
    ErrorSeen seen;
    if (!error)
        return seen;
    Call number = Get(error, "Number");
    Variant asLong;
    if (SUCCEEDED(VariantChangeType(asLong.Put(), number.result.Get(), 0, VT_I4)))
        seen.number = V_I4(asLong.Get());
    seen.source = ToAnsi(V_BSTR(Get(error, "Source").result.Get()));
    seen.description = ToAnsi(V_BSTR(Get(error, "Description").result.Get()));
    return seen;
}

// Receives the control's events, as a host's sink does: a plain IDispatch.
class EventSink final : public IDispatch {
public:
    struct Event {
        DISPID id;
        std::string name;
        ErrorSeen error;
    };
    std::vector<Event> events;
    // What the host does in its handler, after noting the event.
    std::function<void(DISPID)> onEvent;

    std::vector<DISPID> Ids() const {
        std::vector<DISPID> ids;
        for (const auto& e : events)
            ids.push_back(e.id);
        return ids;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == DIID_DDialUpNetworkingEvents) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs_; } // lives in the fixture
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                     EXCEPINFO*, UINT*) override {
        Event e{id, {}, {}};
        UINT n = params->cArgs;
        if (n >= 1 && V_VT(&params->rgvarg[n - 1]) == VT_BSTR)
            e.name = ToAnsi(V_BSTR(&params->rgvarg[n - 1]));
        if (n == 2 && V_VT(&params->rgvarg[0]) == VT_DISPATCH)
            e.error = ReadError(V_DISPATCH(&params->rgvarg[0]));
        events.push_back(e);
        if (onEvent)
            onEvent(id);
        return S_OK;
    }

private:
    ULONG refs_ = 1;
};

// A property bag kept in memory, as a container keeps the control's properties.
class PropertyBag final : public IPropertyBag {
public:
    std::map<std::wstring, Variant> values;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (riid == IID_IUnknown || riid == IID_IPropertyBag) {
            *object = static_cast<IPropertyBag*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override {
        auto it = values.find(name);
        if (it == values.end())
            return E_INVALIDARG;
        VARTYPE wanted = V_VT(value);
        if (wanted == VT_EMPTY)
            return VariantCopy(value, it->second.Get());
        return VariantChangeType(value, it->second.Get(), 0, wanted);
    }
    HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) override {
        VariantCopy(values[name].Put(), value);
        return S_OK;
    }
};

std::string Family() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
    GetVersionExA(&info);
    return info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ? "9x" : "nt";
}

std::string Suffix() {
    return Family() == "9x" ? "9x" : "NT";
}

class RingerControl : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const std::string dll = testenv::BinaryDir() + "\\ringer\\Ringer.dll";
        std::string command = "regsvr32.exe /s \"" + dll + "\"";
        STARTUPINFOA si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        registered_ = false;
        if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &si, &pi))
            return;
        DWORD code = 1;
        if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0)
            GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
        registered_ = code == 0;
    }

    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        ASSERT_TRUE(registered_) << "regsvr32 could not register Ringer.dll";
        const char* expected = std::getenv("RINGER_EXPECT_FAMILY");
        ASSERT_EQ(Family(), expected ? expected : "nt") << "Wine reports the wrong family";
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        scenarioPath_ = std::string(temp) + "ringer-" + std::to_string(GetCurrentProcessId()) +
                        "-" + test->name() + ".txt";
        SetEnvironmentVariableA("RINGER_FAKE_SCENARIO", scenarioPath_.c_str());
        Scenario("entry|Office\nentry|Home ISP\nlive|17|Home ISP\n");
    }

    void TearDown() override {
        if (cookie_ && point_)
            point_->Unadvise(cookie_);
        point_.Reset();
        control_.Reset();
        if (!scenarioPath_.empty()) {
            EXPECT_THAT(LinesStartingWith(ReadFile(scenarioPath_), "fault|"), IsEmpty());
            DeleteFileA(scenarioPath_.c_str());
        }
        CoUninitialize();
    }

    // Writes the scenario for this family.
    void Scenario(const std::string& lines) {
        std::ofstream out(scenarioPath_, std::ios::binary | std::ios::trunc);
        out << "family|" << Family() << "\n" << lines;
    }
    std::string State() const { return ReadFile(scenarioPath_); }

    IDispatch* Create() {
        CLSID clsid{};
        EXPECT_EQ(CLSIDFromProgID(L"Ringer.DialUpNetworking", &clsid), S_OK);
        HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                      control_.PutVoid());
        EXPECT_EQ(hr, S_OK);
        if (FAILED(hr))
            return nullptr;
        ComPtr<IConnectionPointContainer> container;
        EXPECT_EQ(control_.As(container), S_OK);
        if (container &&
            SUCCEEDED(container->FindConnectionPoint(DIID_DDialUpNetworkingEvents, point_.Put()))) {
            EXPECT_EQ(point_->Advise(&sink_, &cookie_), S_OK);
        }
        return control_.Get();
    }

    static inline bool registered_ = false;
    std::string scenarioPath_;
    ComPtr<IDispatch> control_;
    ComPtr<IConnectionPoint> point_;
    DWORD cookie_ = 0;
    EventSink sink_;
};

long AsLong(const Variant& v) {
    Variant converted;
    if (FAILED(VariantChangeType(converted.Put(), const_cast<VARIANT*>(v.Get()), 0, VT_I4)))
        return -1;
    return V_I4(converted.Get());
}

bool AsBool(const Variant& v) {
    return V_VT(v.Get()) == VT_BOOL && V_BOOL(v.Get()) != VARIANT_FALSE;
}

std::vector<std::string> NamesOf(IDispatch* collection) {
    std::vector<std::string> names;
    long count = AsLong(Get(collection, "Count").result);
    for (long i = 1; i <= count; ++i) {
        Variant index;
        V_VT(index.Put()) = VT_I4;
        V_I4(index.Get()) = i;
        names.push_back(ToAnsi(V_BSTR(Method(collection, "Item", {index}).result.Get())));
    }
    return names;
}

} // namespace

TEST_F(RingerControl, IsRegisteredUnderItsProgIdWithItsTypeLibrary) {
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(L"Ringer.DialUpNetworking", &clsid), S_OK);
    EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_DialUpNetworking));
    char server[MAX_PATH * 2] = {};
    LONG size = sizeof(server);
    EXPECT_EQ(RegQueryValueA(HKEY_CLASSES_ROOT,
                             "CLSID\\{3EF16CF6-561F-4D81-8890-811FF9D982E5}\\InprocServer32",
                             server, &size),
              ERROR_SUCCESS);
    EXPECT_THAT(std::string(server), HasSubstr("\\ringer\\Ringer.dll"));
    ComPtr<ITypeLib> lib;
    EXPECT_EQ(LoadRegTypeLib(LIBID_Ringer, 1, 0, LOCALE_NEUTRAL, lib.Put()), S_OK);
}

TEST_F(RingerControl, ServesItsMembersAndEventsUnderTheirDispatchIds) {
    IDispatch* dun = Create();
    ASSERT_NE(dun, nullptr);
    const std::vector<std::pair<std::string, DISPID>> members = {
        {"Available", 0x68030009},
        {"Active", 0x68030008},
        {"ConnectionCount", 0x68030007},
        {"ActiveConnectionCount", 0x68030006},
        {"InactiveConnectionCount", 0x68030005},
        {"Connections", 0x68030004},
        {"ActiveConnections", 0x68030003},
        {"InactiveConnections", 0x68030002},
        {"Connect", 0x6003000E},
        {"Disconnect", 0x6003000F},
        {"LastError", 0x68030001},
        {"RaiseErrors", 0x68030000},
    };
    for (const auto& [name, id] : members)
        EXPECT_EQ(IdOf(dun, name), id) << name;

    // The class information names the event interface a container connects to.
    ComPtr<IProvideClassInfo2> info;
    ASSERT_EQ(control_.As(info), S_OK);
    GUID events{};
    ASSERT_EQ(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events), S_OK);
    EXPECT_TRUE(IsEqualGUID(events, DIID_DDialUpNetworkingEvents));
    ComPtr<ITypeInfo> classInfo;
    ASSERT_EQ(info->GetClassInfo(classInfo.Put()), S_OK);
    ComPtr<ITypeLib> lib;
    UINT index = 0;
    ASSERT_EQ(classInfo->GetContainingTypeLib(lib.Put(), &index), S_OK);
    ComPtr<ITypeInfo> eventInfo;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(events, eventInfo.Put()), S_OK);
    const std::vector<std::pair<std::wstring, MEMBERID>> eventIds = {
        {L"Connected", 1}, {L"ConnectFailed", 2}, {L"Disconnected", 3}, {L"DisconnectFailed", 4}};
    // A container that walks the connection points finds the same one.
    ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(control_.As(container), S_OK);
    ComPtr<IEnumConnectionPoints> points;
    ASSERT_EQ(container->EnumConnectionPoints(points.Put()), S_OK);
    IConnectionPoint* found[2] = {};
    ULONG fetched = 0;
    EXPECT_EQ(points->Next(2, found, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 1u);
    IID pointIid{};
    EXPECT_EQ(found[0]->GetConnectionInterface(&pointIid), S_OK);
    EXPECT_TRUE(IsEqualIID(pointIid, DIID_DDialUpNetworkingEvents));
    found[0]->Release();
    for (const auto& [name, id] : eventIds) {
        std::wstring copy = name;
        LPOLESTR names[] = {copy.data()};
        MEMBERID found = 0;
        EXPECT_EQ(eventInfo->GetIDsOfNames(names, 1, &found), S_OK);
        EXPECT_EQ(found, id);
    }
}

// What a host's object browser sees: each member's kind, result type, name argument and
// description (only RaiseErrors has one).
TEST_F(RingerControl, DescribesEachMemberInItsTypeInformation) {
    IDispatch* dun = Create();
    ASSERT_NE(dun, nullptr);
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(dun->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.Put()), S_OK);
    struct Seen {
        MEMBERID id;
        VARTYPE result;
        std::string params; // "" or "p_sName?" (optional) or "p_bRaiseErrors"
        std::string doc;
    };
    std::map<std::string, Seen> seen;
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    for (UINT i = 0; i < attr->cFuncs; ++i) {
        FUNCDESC* f = nullptr;
        ASSERT_EQ(info->GetFuncDesc(i, &f), S_OK);
        if (f->wFuncFlags & FUNCFLAG_FRESTRICTED) { // IUnknown's and IDispatch's own
            info->ReleaseFuncDesc(f);
            continue;
        }
        BSTR names[4] = {};
        UINT count = 0;
        info->GetNames(f->memid, names, 4, &count);
        Bstr doc;
        info->GetDocumentation(f->memid, nullptr, doc.Put(), nullptr, nullptr);
        std::string kind = f->invkind == INVOKE_PROPERTYGET   ? "get "
                           : f->invkind == INVOKE_PROPERTYPUT ? "put "
                                                              : "call ";
        std::string params;
        for (SHORT p = 0; p < f->cParams && p + 1 < static_cast<SHORT>(count); ++p) {
            params += ToAnsi(names[p + 1]);
            if (f->lprgelemdescParam[p].paramdesc.wParamFlags & PARAMFLAG_FOPT)
                params += "?";
        }
        if (f->invkind == INVOKE_PROPERTYPUT && f->cParams == 1)
            params = "p_bRaiseErrors";
        seen[kind + ToAnsi(names[0])] = {f->memid, f->elemdescFunc.tdesc.vt, params,
                                         ToAnsi(doc.Get())};
        for (auto& n : names)
            SysFreeString(n);
        info->ReleaseFuncDesc(f);
    }
    info->ReleaseTypeAttr(attr);

    const std::string raiseDoc =
        "Returns/sets whether run-time errors should be raised in error situations.";
    const std::vector<std::pair<std::string, Seen>> expected = {
        {"get Available", {0x68030009, VT_BOOL, "", ""}},
        {"get Active", {0x68030008, VT_BOOL, "p_sName?", ""}},
        {"get ConnectionCount", {0x68030007, VT_I2, "", ""}},
        {"get ActiveConnectionCount", {0x68030006, VT_I2, "", ""}},
        {"get InactiveConnectionCount", {0x68030005, VT_I2, "", ""}},
        {"get Connections", {0x68030004, VT_DISPATCH, "", ""}},
        {"get ActiveConnections", {0x68030003, VT_DISPATCH, "", ""}},
        {"get InactiveConnections", {0x68030002, VT_DISPATCH, "", ""}},
        {"call Connect", {0x6003000E, VT_VARIANT, "p_sName?", ""}},
        {"call Disconnect", {0x6003000F, VT_VARIANT, "p_sName?", ""}},
        {"get LastError", {0x68030001, VT_DISPATCH, "", ""}},
        {"get RaiseErrors", {0x68030000, VT_BOOL, "", raiseDoc}},
        {"put RaiseErrors", {0x68030000, VT_VOID, "p_bRaiseErrors", raiseDoc}},
    };
    for (const auto& [member, want] : expected) {
        SCOPED_TRACE(member);
        ASSERT_EQ(seen.count(member), 1u);
        const Seen& got = seen[member];
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(got.result, want.result);
        EXPECT_EQ(got.params, want.params);
        EXPECT_EQ(got.doc, want.doc);
    }
    EXPECT_EQ(seen.size(), expected.size());
}

TEST_F(RingerControl, ListsTheEntriesAndDialsOne) {
    IDispatch* dun = Create();
    ASSERT_NE(dun, nullptr);
    EXPECT_TRUE(AsBool(Get(dun, "Available").result));
    EXPECT_EQ(AsLong(Get(dun, "ConnectionCount").result), 2);
    EXPECT_EQ(AsLong(Get(dun, "ActiveConnectionCount").result), 1);
    Call connections = Get(dun, "Connections");
    ASSERT_EQ(V_VT(connections.result.Get()), VT_DISPATCH);
    EXPECT_THAT(NamesOf(V_DISPATCH(connections.result.Get())), ElementsAre("Office", "Home ISP"));
    Call inactive = Get(dun, "InactiveConnections");
    EXPECT_THAT(NamesOf(V_DISPATCH(inactive.result.Get())), ElementsAre("Office"));
    EXPECT_TRUE(AsBool(Get(dun, "Active", {Text("Home ISP")}).result));
    EXPECT_TRUE(AsBool(Get(dun, "Active").result)); // no name: any entry
    Variant missing;
    V_VT(missing.Put()) = VT_ERROR;
    V_ERROR(missing.Get()) = DISP_E_PARAMNOTFOUND;
    EXPECT_TRUE(AsBool(Get(dun, "Active", {missing}).result)); // left out, as VB leaves it
    EXPECT_FALSE(AsBool(Get(dun, "Active", {Text("Office")}).result));

    Call connect = Method(dun, "Connect", {Text("Office")});
    EXPECT_EQ(connect.hr, S_OK);
    EXPECT_EQ(V_VT(connect.result.Get()), VT_EMPTY);
    ASSERT_THAT(sink_.Ids(), ElementsAre(1));
    EXPECT_EQ(sink_.events[0].name, "Office");
    EXPECT_THAT(LinesStartingWith(State(), "call|RasDialA "), ElementsAre("Office"));
    EXPECT_TRUE(AsBool(Get(dun, "Active", {Text("Office")}).result));
    EXPECT_EQ(V_VT(Get(dun, "LastError").result.Get()), VT_DISPATCH);
    EXPECT_EQ(V_DISPATCH(Get(dun, "LastError").result.Get()), nullptr);
}

// Clients hand the name over in many forms: VBScript passes a variable by reference (or a
// variant by reference), an unset variable is empty, VB leaves an argument out as
// DISP_E_PARAMNOTFOUND, C++ clients may pass nothing at all.
TEST_F(RingerControl, TakesTheNameInEveryFormAClientPassesIt) {
    BSTR home = SysAllocString(L"Home ISP");
    BSTR office = SysAllocString(L"Office");
    Variant homeHeld = Text("Home ISP");
    auto byRef = [](BSTR* text) {
        Variant v;
        V_VT(v.Put()) = VT_BSTR | VT_BYREF;
        V_BSTRREF(v.Get()) = text;
        return v;
    };
    Variant variantByRef;
    V_VT(variantByRef.Put()) = VT_VARIANT | VT_BYREF;
    V_VARIANTREF(variantByRef.Get()) = homeHeld.Get();
    Variant missing;
    V_VT(missing.Put()) = VT_ERROR;
    V_ERROR(missing.Get()) = DISP_E_PARAMNOTFOUND;

    struct Form {
        const char* what;
        std::vector<Variant> args;
        bool active;         // Active(args) with Home ISP live and Office idle
        const char* dialled; // the entry Connect(args) dials
    };
    const std::vector<Form> forms = {
        {"literal", {Text("Home ISP")}, true, "Home ISP"},
        {"string by reference", {byRef(&home)}, true, "Home ISP"},
        {"idle entry by reference", {byRef(&office)}, false, "Office"},
        {"variant by reference", {variantByRef}, true, "Home ISP"},
        {"empty variant", {Variant()}, true, "Office"},
        {"left out", {missing}, true, "Office"},
        {"no argument", {}, true, "Office"},
    };
    IDispatch* dun = Create();
    ASSERT_NE(dun, nullptr);
    for (const auto& form : forms) {
        SCOPED_TRACE(form.what);
        Scenario("entry|Office\nentry|Home ISP\nlive|17|Home ISP\n");
        Call active = Get(dun, "Active", form.args);
        EXPECT_EQ(active.hr, S_OK);
        EXPECT_EQ(AsBool(active.result), form.active);

        Scenario("entry|Office\nentry|Home ISP\n");
        EXPECT_EQ(Method(dun, "Connect", form.args).hr, S_OK);
        EXPECT_THAT(LinesStartingWith(State(), "call|RasDialA "), ElementsAre(form.dialled));
    }
    SysFreeString(home);
    SysFreeString(office);
}

// A host may let go of the control in an event handler while the call that raised the event
// is still running: the call ends normally, and only then does the control go.
TEST_F(RingerControl, OutlivesTheHostLettingGoOfItInAnEventHandler) {
    Scenario("entry|Office\ndial|Office|678\n");
    IDispatch* dun = Create();
    ASSERT_NE(dun, nullptr);
    ASSERT_EQ(Invoke(dun, "RaiseErrors", DISPATCH_PROPERTYPUT, {Boolean(true)}).hr, S_OK);
    sink_.onEvent = [this](DISPID) {
        if (!control_)
            return;
        point_->Unadvise(cookie_);
        cookie_ = 0;
        point_.Reset();
        control_.Reset();
    };
    Call connect = Method(dun, "Connect", {Text("Office")});
    EXPECT_EQ(connect.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(static_cast<unsigned long>(connect.scode), 0x800A0405ul);
    EXPECT_EQ(connect.description, "Unexpected error whilst dialling : RAS error 678");
    EXPECT_THAT(sink_.Ids(), ElementsAre(2));

    // Nothing of the library stays alive.
    using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();
    auto canUnloadNow = reinterpret_cast<CanUnloadNow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("Ringer.dll"), "DllCanUnloadNow")));
    ASSERT_NE(canUnloadNow, nullptr);
    EXPECT_EQ(canUnloadNow(), S_OK);
}

// Calls a client gets wrong fail with the dispatch error that says so, and leave the control
// as usable as before.
TEST_F(RingerControl, RefusesMalformedCallsAndCarriesOn) {
    IDispatch* dun = Create();
    ASSERT_NE(dun, nullptr);
    Variant null;
    V_VT(null.Put()) = VT_NULL;
    struct Case {
        const char* what;
        std::function<HRESULT()> call;
        HRESULT expected;
    };
    auto raw = [dun](DISPID id, WORD flags, DISPPARAMS* params, REFIID riid = IID_NULL) {
        Variant result;
        EXCEPINFO ex{};
        UINT argError = 0;
        HRESULT hr =
            dun->Invoke(id, riid, LOCALE_USER_DEFAULT, flags, params, result.Put(), &ex, &argError);
        SysFreeString(ex.bstrSource);
        SysFreeString(ex.bstrDescription);
        SysFreeString(ex.bstrHelpFile);
        return hr;
    };
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    const std::vector<Case> cases = {
        {"no parameters at all", [&] { return raw(0x68030007, DISPATCH_PROPERTYGET, nullptr); },
         E_INVALIDARG},
        {"unknown dispatch id", [&] { return raw(0x12345, DISPATCH_METHOD, &none); },
         DISP_E_MEMBERNOTFOUND},
        {"an interface other than IID_NULL",
         [&] { return raw(0x68030007, DISPATCH_PROPERTYGET, &none, IID_IDispatch); },
         DISP_E_UNKNOWNINTERFACE},
        {"putting a read-only property",
         [&] { return Invoke(dun, "ConnectionCount", DISPATCH_PROPERTYPUT, {Boolean(true)}).hr; },
         DISP_E_MEMBERNOTFOUND},
        {"too many arguments",
         [&] {
             return Get(dun, "Active", {Text("Office"), Text("Home ISP")}).hr;
         },
         DISP_E_BADPARAMCOUNT},
        {"a Null name", [&] { return Get(dun, "Active", {null}).hr; }, DISP_E_TYPEMISMATCH},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.call(), c.expected);
        EXPECT_EQ(AsLong(Get(dun, "ConnectionCount").result), 2);
    }
    EXPECT_THAT(sink_.events, IsEmpty());
}

TEST_F(RingerControl, AFailedDialRaisesTheErrorAfterThreeConnectFailedEvents) {
    Scenario("entry|Office\ndial|Office|678\nerrortext|678|There was no answer.\n");
    IDispatch* dun = Create();
    ASSERT_NE(dun, nullptr);
    ASSERT_EQ(Invoke(dun, "RaiseErrors", DISPATCH_PROPERTYPUT, {Boolean(true)}).hr, S_OK);
    EXPECT_TRUE(AsBool(Get(dun, "RaiseErrors").result));

    const std::string dialling = "CConnection.Connect" + Suffix();
    const std::string description = "Unexpected error whilst dialling : There was no answer.";
    Call connect = Method(dun, "Connect", {Text("Office")});
    ASSERT_EQ(connect.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(static_cast<unsigned long>(connect.scode), 0x800A0405ul);
    EXPECT_EQ(connect.source, "CDialUpNetworking.Connect;CConnection.Connect;" + dialling);
    EXPECT_EQ(connect.description, description);

    ASSERT_THAT(sink_.Ids(), ElementsAre(2, 2, 2));
    EXPECT_EQ(sink_.events[0].error.source, dialling);
    EXPECT_EQ(sink_.events[1].error.source, dialling);
    EXPECT_EQ(sink_.events[2].error.source, "CConnection.Connect;" + dialling);
    for (const auto& e : sink_.events) {
        EXPECT_EQ(e.name, "Office");
        EXPECT_EQ(e.error.number, 1029);
        EXPECT_EQ(e.error.description, description);
    }
    Call last = Get(dun, "LastError");
    ErrorSeen error = ReadError(V_DISPATCH(last.result.Get()));
    EXPECT_EQ(error.number, 1029);
    EXPECT_EQ(error.description, description);
}

TEST_F(RingerControl, WithoutRaiseErrorsAFailureOnlyShowsInLastErrorAndTheEvents) {
    IDispatch* dun = Create();
    ASSERT_NE(dun, nullptr);
    Call connect = Method(dun, "Connect", {Text("office")});
    EXPECT_EQ(connect.hr, S_OK);
    EXPECT_EQ(V_VT(connect.result.Get()), VT_EMPTY);
    ASSERT_THAT(sink_.Ids(), ElementsAre(2));
    EXPECT_EQ(sink_.events[0].name, "office");
    EXPECT_EQ(sink_.events[0].error.number, 1026);
    ErrorSeen error = ReadError(V_DISPATCH(Get(dun, "LastError").result.Get()));
    EXPECT_EQ(error.number, 1026);
    EXPECT_EQ(error.source, "CDialUpNetworking.Connect");
    EXPECT_EQ(error.description, "The specified connection does not exist.");
}

TEST_F(RingerControl, VtableCallersGetTheErrorAsErrorInfo) {
    ASSERT_NE(Create(), nullptr);
    ComPtr<IDialUpNetworking> dun;
    ASSERT_EQ(control_.As(dun), S_OK);
    ASSERT_EQ(dun->put_RaiseErrors(VARIANT_TRUE), S_OK);
    Bstr name(L"Nowhere");
    VARIANT_BOOL active = VARIANT_TRUE;
    EXPECT_EQ(static_cast<unsigned long>(dun->get_Active(name.Get(), &active)), 0x800A0402ul);
    ComPtr<ISupportErrorInfo> supports;
    ASSERT_EQ(control_.As(supports), S_OK);
    EXPECT_EQ(supports->InterfaceSupportsErrorInfo(IID_IDialUpNetworking), S_OK);
    ComPtr<IErrorInfo> info;
    ASSERT_EQ(GetErrorInfo(0, info.Put()), S_OK);
    Bstr source, description;
    info->GetSource(source.Put());
    info->GetDescription(description.Put());
    EXPECT_EQ(ToAnsi(source.Get()), "CDialUpNetworking.Active");
    EXPECT_EQ(ToAnsi(description.Get()), "The specified connection does not exist.");
}

TEST_F(RingerControl, HangsUpEveryConnectionOfAnEntryAndAllWithoutEvents) {
    Scenario("entry|Office\nentry|Home ISP\nlive|17|Home ISP\nlive|18|Office\n"
             "live|19|Home ISP\n");
    IDispatch* dun = Create();
    ASSERT_NE(dun, nullptr);
    EXPECT_EQ(Method(dun, "Disconnect", {Text("Home ISP")}).hr, S_OK);
    EXPECT_THAT(sink_.Ids(), ElementsAre(3, 3));
    EXPECT_THAT(LinesStartingWith(State(), "live|"), ElementsAre("18|Office"));

    sink_.events.clear();
    EXPECT_EQ(Method(dun, "Disconnect").hr, S_OK);
    EXPECT_THAT(sink_.events, IsEmpty());
    EXPECT_THAT(LinesStartingWith(State(), "live|"), IsEmpty());
}

TEST_F(RingerControl, AnEntryWhoseStatusCallFailsIsInactive) {
    Scenario("entry|Office\nlive|17|Office|statusfails\n");
    IDispatch* dun = Create();
    ASSERT_NE(dun, nullptr);
    EXPECT_FALSE(AsBool(Get(dun, "Active", {Text("Office")}).result));
    EXPECT_EQ(AsLong(Get(dun, "InactiveConnectionCount").result), 1);
}

TEST_F(RingerControl, ThePhoneBookOfTheNtFamilyHoldsTwentyEntries) {
    std::string lines;
    // Appended piece by piece: GCC 12 at -O2 warns falsely (-Wrestrict) on "text" + string&&.
    for (int i = 1; i <= 21; ++i)
        lines.append("entry|Entry ").append(std::to_string(i)).append("\n");
    Scenario(lines);
    IDispatch* dun = Create();
    ASSERT_NE(dun, nullptr);
    EXPECT_EQ(AsLong(Get(dun, "ConnectionCount").result), Family() == "9x" ? 21 : 0);
}

TEST_F(RingerControl, PersistsRaiseErrorsInThePropertyBagWithDefaultFalse) {
    ASSERT_NE(Create(), nullptr);
    ComPtr<IPersistPropertyBag> persist;
    ASSERT_EQ(control_.As(persist), S_OK);
    PropertyBag bag;
    ASSERT_EQ(persist->Load(&bag, nullptr), S_OK);
    EXPECT_FALSE(AsBool(Get(control_.Get(), "RaiseErrors").result));
    EXPECT_EQ(persist->Save(&bag, TRUE, TRUE), S_OK);
    EXPECT_THAT(bag.values, IsEmpty());

    V_VT(bag.values[L"RaiseErrors"].Put()) = VT_BOOL;
    V_BOOL(bag.values[L"RaiseErrors"].Get()) = VARIANT_TRUE;
    ASSERT_EQ(persist->Load(&bag, nullptr), S_OK);
    EXPECT_TRUE(AsBool(Get(control_.Get(), "RaiseErrors").result));
    bag.values.clear();
    EXPECT_EQ(persist->Save(&bag, TRUE, TRUE), S_OK);
    ASSERT_EQ(bag.values.count(L"RaiseErrors"), 1u);
    EXPECT_EQ(V_VT(bag.values[L"RaiseErrors"].Get()), VT_BOOL);
    EXPECT_NE(V_BOOL(bag.values[L"RaiseErrors"].Get()), VARIANT_FALSE);
}

TEST_F(RingerControl, KeepsItsSizeAt450By450) {
    ASSERT_NE(Create(), nullptr);
    ComPtr<IOleObject> ole;
    ASSERT_EQ(control_.As(ole), S_OK);
    SIZEL asked{5000, 120};
    EXPECT_EQ(ole->SetExtent(DVASPECT_CONTENT, &asked), S_OK);
    SIZEL size{};
    ASSERT_EQ(ole->GetExtent(DVASPECT_CONTENT, &size), S_OK);
    // 450 twips in HIMETRIC.
    EXPECT_EQ(size.cx, 794);
    EXPECT_EQ(size.cy, 794);
}

// Run by a second registration of this program with rasapi32 disabled in Wine.
TEST_F(RingerControl, WithoutTheRasLibraryEveryMemberRaises1025) {
    if (!std::getenv("RINGER_RAS_DISABLED"))
        GTEST_SKIP() << "needs rasapi32 disabled";
    IDispatch* dun = Create();
    ASSERT_NE(dun, nullptr);
    EXPECT_FALSE(AsBool(Get(dun, "Available").result));
    ErrorSeen error = ReadError(V_DISPATCH(Get(dun, "LastError").result.Get()));
    EXPECT_EQ(error.number, 53);
    EXPECT_EQ(error.description, "File not found: rasapi32");
    ASSERT_EQ(Invoke(dun, "RaiseErrors", DISPATCH_PROPERTYPUT, {Boolean(true)}).hr, S_OK);
    Call count = Get(dun, "ConnectionCount");
    EXPECT_EQ(static_cast<unsigned long>(count.scode), 0x800A0401ul);
    EXPECT_EQ(count.source, "CDialUpNetworking.ConnectionCount");
    EXPECT_EQ(count.description, "Dial-up Networking is not available on this machine.");
}
