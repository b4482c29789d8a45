#include "vigil/engine/win32/ringer_dial_up_control.h"

#include "common/win32/bstr.h"
#include "common/win32/variant.h"

#include <olectl.h>

namespace vigil::engine::win32 {

using common::Bstr;
using common::ComPtr;
using common::ToAnsi;
using common::Variant;

namespace {

// The number a Visual Basic host reads from a failed call: an error raised with a plain
// number travels as 0x800A0000 | number; any other result is its own number.
long ErrorNumber(HRESULT hr) {
    auto code = static_cast<unsigned long>(hr);
    if ((code & 0xFFFF0000ul) == 0x800A0000ul)
        return static_cast<long>(code & 0xFFFFul);
    return static_cast<long>(hr);
}

[[noreturn]] void ThrowNotCreated() {
    throw DialUpControlError({kControlNotCreated, "Vigil", kControlNotCreatedText});
}

Variant Text(const std::string& text) {
    Variant v;
    V_VT(v.Put()) = VT_BSTR;
    V_BSTR(v.Get()) = Bstr::FromAnsi(text).Detach();
    return v;
}

Variant Boolean(bool value) {
    Variant v;
    V_VT(v.Put()) = VT_BOOL;
    V_BOOL(v.Get()) = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

std::string AsText(Variant& v) {
    Variant text;
    if (FAILED(VariantChangeType(text.Put(), v.Get(), 0, VT_BSTR)))
        return {};
    return ToAnsi(V_BSTR(text.Get()));
}

long AsLong(Variant& v) {
    Variant number;
    if (FAILED(VariantChangeType(number.Put(), v.Get(), 0, VT_I4)))
        return 0;
    return V_I4(number.Get());
}

bool AsBool(Variant& v) {
    Variant b;
    if (FAILED(VariantChangeType(b.Put(), v.Get(), 0, VT_BOOL)))
        return false;
    return V_BOOL(b.Get()) != VARIANT_FALSE;
}

// One late-bound call by member name; a failure becomes the run-time error it stands for.
Variant Call(IDispatch* object, const wchar_t* member, WORD flags, std::vector<Variant> args = {}) {
    std::wstring name = member;
    LPOLESTR names[] = {name.data()};
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr))
        throw DialUpControlError(
            {ErrorNumber(hr), "Vigil",
             "Member not found: " + ToAnsi(member, static_cast<int>(name.size()))});
    // Arguments go in reverse order.
    std::vector<VARIANTARG> reversed;
    for (auto it = args.rbegin(); it != args.rend(); ++it)
        reversed.push_back(*it->Get());
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    if (flags == DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &named;
        params.cNamedArgs = 1;
    }
    Variant result;
    EXCEPINFO ex{};
    UINT argError = 0;
    hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                        flags == DISPATCH_PROPERTYPUT ? nullptr : result.Put(), &ex, &argError);
    if (hr == DISP_E_EXCEPTION) {
        if (ex.pfnDeferredFillIn)
            ex.pfnDeferredFillIn(&ex);
        DialUpError error{ex.scode ? ErrorNumber(ex.scode) : static_cast<long>(ex.wCode),
                          ToAnsi(ex.bstrSource), ToAnsi(ex.bstrDescription)};
        SysFreeString(ex.bstrSource);
        SysFreeString(ex.bstrDescription);
        SysFreeString(ex.bstrHelpFile);
        throw DialUpControlError(std::move(error));
    }
    if (FAILED(hr))
        throw DialUpControlError(
            {ErrorNumber(hr), "Vigil", "The dial-up control refused the call"});
    return result;
}

// The error object of a failure event: Number, Source and Description, read late-bound.
DialUpError ReadError(IDispatch* error) {
    DialUpError seen;
    if (!error)
        return seen;
    try {
        Variant number = Call(error, L"Number", DISPATCH_PROPERTYGET);
        seen.number = AsLong(number);
        Variant source = Call(error, L"Source", DISPATCH_PROPERTYGET);
        seen.source = AsText(source);
        Variant description = Call(error, L"Description", DISPATCH_PROPERTYGET);
        seen.description = AsText(description);
    } catch (const DialUpControlError&) {
        // An error object without those members still reports the failure itself.
    }
    return seen;
}

// The string argument an event carries, also when a client passes it by reference.
std::string TextArgument(VARIANTARG& arg) {
    Variant copy;
    if (FAILED(VariantCopyInd(copy.Put(), &arg)))
        return {};
    return AsText(copy);
}

// The IUnknown of the small COM objects the port makes itself: one reference count, and
// the interfaces Answers() names besides IUnknown.
template <class Interface> class OwnComObject : public Interface {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object)
            return E_POINTER;
        if (riid == IID_IUnknown || Answers(riid)) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG left = InterlockedDecrement(&refs_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

protected:
    virtual ~OwnComObject() = default;
    virtual bool Answers(REFIID riid) const = 0;

private:
    LONG refs_ = 1;
};

} // namespace

// Receives the control's events: a plain IDispatch that hands them to the port while it
// is connected. It can outlive the port (the control may still hold it).
class RingerDialUpControl::EventSink final : public OwnComObject<IDispatch> {
public:
    explicit EventSink(RingerDialUpControl* owner) : owner_(owner) {}
    void Detach() { owner_ = nullptr; }
    void SetEventsIid(const IID& iid) { events_ = iid; }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info)
            *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                     EXCEPINFO*, UINT*) override {
        if (!params)
            return E_POINTER;
        if (owner_) {
            try {
                owner_->OnEvent(id, params);
            } catch (...) {
                // A handler's failure must not travel back into the control.
            }
        }
        return S_OK;
    }

private:
    bool Answers(REFIID riid) const override { return riid == IID_IDispatch || riid == events_; }

    RingerDialUpControl* owner_;
    IID events_ = IID_IDispatch;
};

// The container's side of the control's persistence: properties by name, in memory.
class RingerDialUpControl::PropertyBag final : public OwnComObject<IPropertyBag> {
public:
    std::map<std::wstring, Variant> values;

    HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override {
        if (!name || !value)
            return E_POINTER;
        auto it = values.find(name);
        if (it == values.end())
            return E_INVALIDARG;
        if (V_VT(value) == VT_EMPTY)
            return VariantCopy(value, it->second.Get());
        return VariantChangeType(value, it->second.Get(), 0, V_VT(value));
    }
    HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) override {
        if (!name || !value)
            return E_POINTER;
        return VariantCopy(values[name].Put(), value);
    }

private:
    bool Answers(REFIID riid) const override { return riid == IID_IPropertyBag; }
};

RingerDialUpControl::RingerDialUpControl(std::optional<bool> savedRaiseErrors,
                                         const wchar_t* progId)
    : sink_(new EventSink(this), false), bag_(new PropertyBag, false) {
    CLSID clsid{};
    created_ = CLSIDFromProgID(progId, &clsid);
    if (SUCCEEDED(created_))
        created_ = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                    control_.PutVoid());
    if (FAILED(created_)) {
        control_.Reset();
        return;
    }

    // Properties first, as a container loads a control before it runs.
    ComPtr<IPersistPropertyBag> persist;
    if (SUCCEEDED(control_.As(persist))) {
        if (savedRaiseErrors) {
            bag_->values[L"RaiseErrors"] = Boolean(*savedRaiseErrors);
            persist->Load(bag_.Get(), nullptr);
        } else {
            persist->InitNew();
        }
    }

    // The events: the control's default source interface, as its class information names it.
    IID events = IID_NULL;
    ComPtr<IProvideClassInfo2> info;
    if (SUCCEEDED(control_.As(info)))
        info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events);
    ComPtr<IConnectionPointContainer> container;
    if (FAILED(control_.As(container)))
        return;
    if (!IsEqualIID(events, IID_NULL)) {
        container->FindConnectionPoint(events, point_.Put());
    } else {
        ComPtr<IEnumConnectionPoints> points;
        if (SUCCEEDED(container->EnumConnectionPoints(points.Put()))) {
            ULONG fetched = 0;
            points->Next(1, point_.Put(), &fetched);
            if (point_)
                point_->GetConnectionInterface(&events);
        }
    }
    sink_->SetEventsIid(events);
    if (point_ && FAILED(point_->Advise(sink_.Get(), &cookie_)))
        cookie_ = 0;
}

RingerDialUpControl::~RingerDialUpControl() {
    sink_->Detach();
    if (point_ && cookie_)
        point_->Unadvise(cookie_);
    point_.Reset();
    control_.Reset();
}

bool RingerDialUpControl::SaveRaiseErrors() {
    if (!control_)
        ThrowNotCreated();
    ComPtr<IPersistPropertyBag> persist;
    if (SUCCEEDED(control_.As(persist))) {
        bag_->values.clear();
        persist->Save(bag_.Get(), TRUE, FALSE);
    }
    auto it = bag_->values.find(L"RaiseErrors");
    return it != bag_->values.end() && AsBool(it->second);
}

std::vector<std::string> RingerDialUpControl::Connections() {
    if (!control_)
        ThrowNotCreated();
    Variant collection = Call(control_.Get(), L"Connections", DISPATCH_PROPERTYGET);
    std::vector<std::string> names;
    if (V_VT(collection.Get()) != VT_DISPATCH || !V_DISPATCH(collection.Get()))
        return names;
    IDispatch* items = V_DISPATCH(collection.Get());
    Variant count = Call(items, L"Count", DISPATCH_PROPERTYGET);
    long n = AsLong(count);
    for (long i = 1; i <= n; ++i) {
        Variant index;
        V_VT(index.Put()) = VT_I4;
        V_I4(index.Get()) = i;
        Variant item = Call(items, L"Item", DISPATCH_METHOD | DISPATCH_PROPERTYGET, {index});
        names.push_back(AsText(item)); // an item reads as its name
    }
    return names;
}

int RingerDialUpControl::ConnectionCount() {
    if (!control_)
        ThrowNotCreated();
    Variant count = Call(control_.Get(), L"ConnectionCount", DISPATCH_PROPERTYGET);
    return static_cast<int>(AsLong(count));
}

bool RingerDialUpControl::Active(const std::string& p_sName) {
    if (!control_)
        ThrowNotCreated();
    Variant active = Call(control_.Get(), L"Active", DISPATCH_PROPERTYGET, {Text(p_sName)});
    return AsBool(active);
}

void RingerDialUpControl::Connect(const std::string& p_sName) {
    if (!control_)
        ThrowNotCreated();
    ComPtr<IDispatch> control = control_; // stays alive for the whole call
    Call(control.Get(), L"Connect", DISPATCH_METHOD, {Text(p_sName)});
}

void RingerDialUpControl::Disconnect(const std::string& p_sName) {
    if (!control_)
        ThrowNotCreated();
    ComPtr<IDispatch> control = control_;
    Call(control.Get(), L"Disconnect", DISPATCH_METHOD, {Text(p_sName)});
}

bool RingerDialUpControl::RaiseErrors() {
    if (!control_)
        ThrowNotCreated();
    Variant raise = Call(control_.Get(), L"RaiseErrors", DISPATCH_PROPERTYGET);
    return AsBool(raise);
}

void RingerDialUpControl::SetRaiseErrors(bool p_bRaiseErrors) {
    if (!control_)
        ThrowNotCreated();
    Call(control_.Get(), L"RaiseErrors", DISPATCH_PROPERTYPUT, {Boolean(p_bRaiseErrors)});
}

void RingerDialUpControl::OnEvent(DISPID id, DISPPARAMS* params) {
    // Arguments arrive in reverse order: the name last, the error object first.
    const UINT n = params->cArgs;
    std::string name = n >= 1 ? TextArgument(params->rgvarg[n - 1]) : std::string();
    DialUpError error;
    if (n >= 2) {
        Variant err;
        if (SUCCEEDED(VariantCopyInd(err.Put(), &params->rgvarg[0])) &&
            V_VT(err.Get()) == VT_DISPATCH)
            error = ReadError(V_DISPATCH(err.Get()));
    }
    switch (id) {
    case 1:
        Connected.Raise(name);
        break;
    case 2:
        ConnectFailed.Raise(name, error);
        break;
    case 3:
        Disconnected.Raise(name);
        break;
    case 4:
        DisconnectFailed.Raise(name, error);
        break;
    default:
        break;
    }
}

} // namespace vigil::engine::win32
