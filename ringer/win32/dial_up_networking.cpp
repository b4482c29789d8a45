#include "ringer/win32/dial_up_networking.h"

#include "ringer/c_dial_up_networking.h"
#include "ringer/win32/dispatch.h"
#include "ringer/win32/error_object.h"
#include "ringer/win32/name_collection.h"
#include "ringer/win32/ras_library.h"
#include "ringer/win32/ringer_h.h"

#include "common/win32/variant.h"

#include <ocidl.h>
#include <olectl.h>

#include <memory>
#include <new>
#include <vector>

namespace ringer::win32 {

namespace {

constexpr DWORD kMiscStatus =
    OLEMISC_SETCLIENTSITEFIRST | OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE;

class DialUpNetworkingControl;

// The one connection point: DDialUpNetworkingEvents.
class EventPoint final : public IConnectionPoint {
public:
    explicit EventPoint(DialUpNetworkingControl& control) : control_(control) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override {
        if (!iid)
            return common::win32::kNullOut;
        *iid = DIID_DDialUpNetworkingEvents;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** c) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
        if (!sink || !cookie)
            return common::win32::kNullOut;
        *cookie = 0;
        common::ComPtr<IDispatch> dispatch;
        if (FAILED(sink->QueryInterface(DIID_DDialUpNetworkingEvents, dispatch.PutVoid())) &&
            FAILED(sink->QueryInterface(IID_IDispatch, dispatch.PutVoid())))
            return CONNECT_E_CANNOTCONNECT;
        sinks_.push_back({++lastCookie_, dispatch});
        *cookie = lastCookie_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override {
        for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
            if (it->cookie == cookie) {
                sinks_.erase(it);
                return S_OK;
            }
        }
        return CONNECT_E_NOCONNECTION;
    }
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** e) override {
        if (e)
            *e = nullptr;
        return E_NOTIMPL;
    }

    // Calls every sink; a sink may unadvise (or advise) while it is called.
    void Fire(DISPID id, const std::string& name, const ErrorInfo* error) {
        auto sinks = sinks_;
        if (sinks.empty())
            return;
        VARIANTARG args[2];
        for (auto& a : args)
            VariantInit(&a);
        UINT count = 0;
        // Arguments go in reverse order.
        if (error) {
            IDispatch* object = nullptr;
            if (FAILED(CreateErrorObject(*error, &object)))
                return;
            V_VT(&args[count]) = VT_DISPATCH;
            V_DISPATCH(&args[count]) = object;
            ++count;
        }
        V_VT(&args[count]) = VT_BSTR;
        V_BSTR(&args[count]) = common::Bstr::FromAnsi(name).Detach();
        ++count;
        DISPPARAMS params{args, nullptr, count, 0};
        for (const auto& sink : sinks)
            sink.dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                  nullptr, nullptr, nullptr);
        for (UINT i = 0; i < count; ++i)
            VariantClear(&args[i]);
    }

private:
    struct Sink {
        DWORD cookie;
        common::ComPtr<IDispatch> dispatch;
    };
    DialUpNetworkingControl& control_;
    std::vector<Sink> sinks_;
    DWORD lastCookie_ = 0;
};

// Enumerates the control's one connection point.
class PointEnumerator final
    : public common::win32::ComObject<PointEnumerator, IEnumConnectionPoints> {
public:
    PointEnumerator(IConnectionPoint* point, ULONG position) : point_(point), position_(position) {}

    static std::span<const InterfaceEntry> Interfaces() {
        static constexpr InterfaceEntry table[] = {
            Entry<PointEnumerator, IEnumConnectionPoints>(IID_IEnumConnectionPoints)};
        return table;
    }

    HRESULT STDMETHODCALLTYPE Next(ULONG count, IConnectionPoint** points,
                                   ULONG* fetched) override {
        if (!points || (count > 1 && !fetched))
            return common::win32::kNullOut;
        ULONG done = 0;
        if (count > 0 && position_ == 0) {
            points[0] = point_.Get();
            points[0]->AddRef();
            position_ = done = 1;
        }
        if (fetched)
            *fetched = done;
        return done == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        if (count == 0)
            return S_OK;
        bool skipped = position_ == 0 && count == 1;
        position_ = 1;
        return skipped ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        position_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints** clone) override {
        return common::win32::CreateAs<PointEnumerator>(clone, point_.Get(), position_);
    }

private:
    common::ComPtr<IConnectionPoint> point_; // holds the control
    ULONG position_;
};

class DialUpNetworkingControl final
    : public DispatchObject<DialUpNetworkingControl, IDialUpNetworking, IConnectionPointContainer,
                            IProvideClassInfo2, IPersistPropertyBag, IOleObject, ISupportErrorInfo>,
      private ConnectionEvents {
public:
    DialUpNetworkingControl()
        : events_(*this), ringer_(std::make_unique<CDialUpNetworking>(LoadRasApi(), AsEvents())) {}

    static std::span<const InterfaceEntry> Interfaces() {
        using Self = DialUpNetworkingControl;
        static constexpr InterfaceEntry table[] = {
            Entry<Self, IDialUpNetworking>(IID_IDialUpNetworking),
            Entry<Self, IDialUpNetworking>(IID_IDispatch),
            Entry<Self, IConnectionPointContainer>(IID_IConnectionPointContainer),
            Entry<Self, IProvideClassInfo2>(IID_IProvideClassInfo),
            Entry<Self, IProvideClassInfo2>(IID_IProvideClassInfo2),
            Entry<Self, IPersistPropertyBag>(IID_IPersistPropertyBag),
            Entry<Self, IPersistPropertyBag>(IID_IPersist),
            Entry<Self, IOleObject>(IID_IOleObject),
            Entry<Self, ISupportErrorInfo>(IID_ISupportErrorInfo),
        };
        return table;
    }

    // --- IDialUpNetworking: every member forwards to CDialUpNetworking ---------------------
    HRESULT STDMETHODCALLTYPE get_Available(VARIANT_BOOL* value) override {
        return Member(value, [&] { *value = Bool(ringer_->Available()); });
    }
    HRESULT STDMETHODCALLTYPE get_Active(BSTR p_sName, VARIANT_BOOL* value) override {
        return Member(value, [&] { *value = Bool(ringer_->Active(common::ToAnsi(p_sName))); });
    }
    HRESULT STDMETHODCALLTYPE get_ConnectionCount(short* value) override {
        return Member(value, [&] { *value = ringer_->ConnectionCount(); });
    }
    HRESULT STDMETHODCALLTYPE get_ActiveConnectionCount(short* value) override {
        return Member(value, [&] { *value = ringer_->ActiveConnectionCount(); });
    }
    HRESULT STDMETHODCALLTYPE get_InactiveConnectionCount(short* value) override {
        return Member(value, [&] { *value = ringer_->InactiveConnectionCount(); });
    }
    HRESULT STDMETHODCALLTYPE get_Connections(IDispatch** value) override {
        return Names(value, [&] { return ringer_->Connections(); });
    }
    HRESULT STDMETHODCALLTYPE get_ActiveConnections(IDispatch** value) override {
        return Names(value, [&] { return ringer_->ActiveConnections(); });
    }
    HRESULT STDMETHODCALLTYPE get_InactiveConnections(IDispatch** value) override {
        return Names(value, [&] { return ringer_->InactiveConnections(); });
    }
    HRESULT STDMETHODCALLTYPE Connect(BSTR p_sName, VARIANT* result) override {
        if (result)
            VariantInit(result);
        return Member(result, [&] { ringer_->Connect(common::ToAnsi(p_sName)); });
    }
    HRESULT STDMETHODCALLTYPE Disconnect(BSTR p_sName, VARIANT* result) override {
        if (result)
            VariantInit(result);
        return Member(result, [&] { ringer_->Disconnect(common::ToAnsi(p_sName)); });
    }
    HRESULT STDMETHODCALLTYPE get_LastError(IDispatch** value) override {
        if (!value)
            return common::win32::kNullOut;
        *value = nullptr;
        auto last = ringer_->LastError();
        if (!last)
            return S_OK;
        // One object per handled error, so a host sees the same object until the next one.
        if (last != lastErrorShown_ || !lastErrorObject_) {
            HRESULT hr = CreateErrorObject(*last, lastErrorObject_.Put());
            if (FAILED(hr))
                return hr;
            lastErrorShown_ = last;
        }
        lastErrorObject_->AddRef();
        *value = lastErrorObject_.Get();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_RaiseErrors(VARIANT_BOOL* value) override {
        if (!value)
            return common::win32::kNullOut;
        *value = Bool(ringer_->RaiseErrors());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_RaiseErrors(VARIANT_BOOL p_bRaiseErrors) override {
        ringer_->RaiseErrors(p_bRaiseErrors != VARIANT_FALSE);
        return S_OK;
    }

    // --- IConnectionPointContainer --------------------------------------------------------
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** e) override {
        return common::win32::CreateAs<PointEnumerator>(e, &events_, ULONG{0});
    }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** point) override {
        if (!point)
            return common::win32::kNullOut;
        *point = nullptr;
        if (riid != DIID_DDialUpNetworkingEvents)
            return CONNECT_E_NOCONNECTION;
        *point = &events_;
        events_.AddRef();
        return S_OK;
    }

    // --- IProvideClassInfo2 ---------------------------------------------------------------
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** typeInfo) override {
        return common::win32::ModuleTypeInfo(CLSID_DialUpNetworking, typeInfo);
    }
    HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* guid) override {
        if (!guid)
            return common::win32::kNullOut;
        if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
            *guid = GUID_NULL;
            return E_INVALIDARG;
        }
        *guid = DIID_DDialUpNetworkingEvents;
        return S_OK;
    }

    // --- IPersistPropertyBag: RaiseErrors, default False ------------------------------------
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override {
        if (!clsid)
            return common::win32::kNullOut;
        *clsid = CLSID_DialUpNetworking;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE InitNew() override {
        ringer_->RaiseErrors(false);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Load(IPropertyBag* bag, IErrorLog* log) override {
        if (!bag)
            return common::win32::kNullOut;
        common::Variant value;
        V_VT(value.Get()) = VT_BOOL;
        bool raise = false;
        if (SUCCEEDED(bag->Read(L"RaiseErrors", value.Get(), log))) {
            common::Variant asBool;
            if (SUCCEEDED(VariantChangeType(asBool.Get(), value.Get(), 0, VT_BOOL)))
                raise = V_BOOL(asBool.Get()) != VARIANT_FALSE;
        }
        ringer_->RaiseErrors(raise);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Save(IPropertyBag* bag, BOOL, BOOL) override {
        if (!bag)
            return common::win32::kNullOut;
        // Like any property with a default, only a value other than the default is written.
        if (!ringer_->RaiseErrors())
            return S_OK;
        common::Variant value;
        V_VT(value.Get()) = VT_BOOL;
        V_BOOL(value.Get()) = VARIANT_TRUE;
        return bag->Write(L"RaiseErrors", value.Get());
    }

    // --- IOleObject: just enough for a container; the size stays 450 by 450 twips ----------
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override {
        site_ = common::ComPtr<IOleClientSite>(site);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override {
        if (!site)
            return common::win32::kNullOut;
        *site = site_.Get();
        if (*site)
            (*site)->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Close(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** m) override {
        if (m)
            *m = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject** d) override {
        if (d)
            *d = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** e) override {
        if (e)
            *e = nullptr;
        return OLEOBJ_E_NOVERBS;
    }
    HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) override { return GetClassID(clsid); }
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD form, LPOLESTR* name) override {
        return OleRegGetUserType(CLSID_DialUpNetworking, form, name);
    }
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) override {
        if (!size)
            return common::win32::kNullOut;
        if (aspect != DVASPECT_CONTENT)
            return DV_E_DVASPECT;
        // Whatever size the host asks for, the control stays 450 by 450: the host reads the
        // extent back and lays the control out with it.
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) override {
        if (!size)
            return common::win32::kNullOut;
        if (aspect != DVASPECT_CONTENT)
            return DV_E_DVASPECT;
        size->cx = kExtentHimetric;
        size->cy = kExtentHimetric;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD* c) override {
        if (c)
            *c = 0;
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return OLE_E_NOCONNECTION; }
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** e) override {
        if (e)
            *e = nullptr;
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* status) override {
        if (!status)
            return common::win32::kNullOut;
        *status = kMiscStatus;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // --- ISupportErrorInfo ----------------------------------------------------------------
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override {
        return riid == IID_IDialUpNetworking ? S_OK : S_FALSE;
    }

private:
    friend class EventPoint;
    ~DialUpNetworkingControl() override {
        // The inner object goes first: it may still hold an entry whose events point here.
        ringer_.reset();
    }

    ConnectionEvents* AsEvents() { return this; }
    static VARIANT_BOOL Bool(bool b) { return b ? VARIANT_TRUE : VARIANT_FALSE; }

    // Runs a forwarded member: the control stays alive through the host's event handlers,
    // and an error CDialUpNetworking raises is raised to the caller unchanged.
    template <typename Out, typename Body> HRESULT Member(Out* out, Body body) {
        if (!out)
            return common::win32::kNullOut;
        common::ComPtr<IDialUpNetworking> self(this);
        try {
            body();
            return S_OK;
        } catch (const RingerError& e) {
            return Raise(e.Info());
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (...) {
            return E_UNEXPECTED;
        }
    }
    template <typename Get> HRESULT Names(IDispatch** value, Get get) {
        if (value)
            *value = nullptr;
        HRESULT hr = S_OK;
        HRESULT call = Member(value, [&] {
            auto names = get();
            if (names)
                hr = CreateNameCollection(std::move(*names), value);
        });
        return FAILED(call) ? call : hr;
    }

    // --- events of CDialUpNetworking, relayed to the host -----------------------------------
    void Connected(const std::string& p_sName) override { events_.Fire(1, p_sName, nullptr); }
    void ConnectFailed(const std::string& p_sName, const ErrorInfo& p_Err) override {
        events_.Fire(2, p_sName, &p_Err);
    }
    void Disconnected(const std::string& p_sName) override { events_.Fire(3, p_sName, nullptr); }
    void DisconnectFailed(const std::string& p_sName, const ErrorInfo& p_Err) override {
        events_.Fire(4, p_sName, &p_Err);
    }

    EventPoint events_;
    std::unique_ptr<CDialUpNetworking> ringer_;
    common::ComPtr<IOleClientSite> site_;
    std::shared_ptr<const ErrorInfo> lastErrorShown_;
    common::ComPtr<IDispatch> lastErrorObject_;
};

// The connection point lives inside the control and shares its reference count.
HRESULT EventPoint::QueryInterface(REFIID riid, void** object) {
    static constexpr InterfaceEntry table[] = {
        Entry<EventPoint, IConnectionPoint>(IID_IConnectionPoint)};
    return common::win32::QueryFromTable(this, table, riid, object);
}
ULONG EventPoint::AddRef() {
    return control_.AddRef();
}
ULONG EventPoint::Release() {
    return control_.Release();
}
HRESULT EventPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
    if (!container)
        return common::win32::kNullOut;
    *container = static_cast<IConnectionPointContainer*>(&control_);
    control_.AddRef();
    return S_OK;
}

} // namespace

HRESULT CreateDialUpNetworking(IUnknown* outer, REFIID riid, void** object) {
    if (outer)
        return CLASS_E_NOAGGREGATION; // the class factory refuses it before
    return common::win32::CreateAndQuery<DialUpNetworkingControl>(riid, object);
}

} // namespace ringer::win32
