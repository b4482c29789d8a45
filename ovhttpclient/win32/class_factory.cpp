#include "ovhttpclient/win32/class_factory.h"

#include "ovhttpclient/win32/http_client.h"
#include "ovhttpclient/win32/module.h"

#include <new>
#include <unknwn.h>

namespace ovhttp {

namespace {

class ClassFactory final : public IClassFactory {
public:
    ClassFactory() { ObjectCreated(); }
    ~ClassFactory() { ObjectDestroyed(); }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = InterlockedDecrement(&refs_);
        if (left == 0)
            delete this;
        return left;
    }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out)
            return E_INVALIDARG;
        *out = nullptr;
        // An aggregated object can only be handed out as its own (non-delegating) unknown.
        if (outer && !IsEqualIID(iid, IID_IUnknown))
            return E_INVALIDARG;
        return HttpClient::Create(outer, iid, out);
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        ServerLock(lock != FALSE);
        return S_OK;
    }

private:
    LONG refs_ = 1;
};

} // namespace

HRESULT CreateClassFactory(REFIID iid, void** out) {
    auto* factory = new (std::nothrow) ClassFactory;
    if (!factory)
        return E_OUTOFMEMORY;
    const HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();
    return hr;
}

} // namespace ovhttp
