#include "common/win32/com_module.h"

#include <new>

namespace common::win32 {

namespace {

HINSTANCE g_instance = nullptr;
LONG g_objects = 0;
LONG g_serverLocks = 0;

// The class object of one class; it counts as a live object of the module.
class ClassFactory final : public ComObject<ClassFactory, IClassFactory> {
public:
    ClassFactory(const ClassEntry& entry, HRESULT nullOut) : entry_(entry), nullOut_(nullOut) {}

    static std::span<const InterfaceEntry> Interfaces() {
        static constexpr InterfaceEntry table[] = {
            Entry<ClassFactory, IClassFactory>(IID_IClassFactory)};
        return table;
    }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out)
            return nullOut_;
        *out = nullptr;
        if (outer && !entry_.aggregatable)
            return CLASS_E_NOAGGREGATION;
        // An aggregated object can only be handed out as its own (non-delegating) unknown.
        if (outer && !IsEqualIID(iid, IID_IUnknown))
            return E_INVALIDARG;
        return entry_.create(outer, iid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        win32::LockServer(lock != FALSE);
        return S_OK;
    }

private:
    const ClassEntry& entry_;
    HRESULT nullOut_;
    ModuleReference module_;
};

} // namespace

void SetModuleInstance(HINSTANCE instance) {
    g_instance = instance;
}
HINSTANCE ModuleInstance() {
    return g_instance;
}

std::string ModulePath() {
    char path[MAX_PATH * 2] = {};
    const DWORD length = GetModuleFileNameA(g_instance, path, sizeof(path));
    return length < sizeof(path) ? std::string(path, length) : std::string();
}
std::wstring ModulePathW() {
    wchar_t path[MAX_PATH * 2] = {};
    const DWORD length = GetModuleFileNameW(g_instance, path, MAX_PATH * 2);
    return length < MAX_PATH * 2 ? std::wstring(path, length) : std::wstring();
}

void ObjectCreated() {
    InterlockedIncrement(&g_objects);
}
void ObjectDestroyed() {
    InterlockedDecrement(&g_objects);
}
void LockServer(bool lock) {
    if (lock)
        InterlockedIncrement(&g_serverLocks);
    else
        InterlockedDecrement(&g_serverLocks);
}
HRESULT CanUnloadNow() {
    const bool busy = InterlockedCompareExchange(&g_objects, 0, 0) != 0 ||
                      InterlockedCompareExchange(&g_serverLocks, 0, 0) != 0;
    return busy ? S_FALSE : S_OK;
}

HRESULT GetClassObject(std::span<const ClassEntry> classes, REFCLSID clsid, REFIID iid, void** out,
                       HRESULT nullOut) {
    if (!out)
        return nullOut;
    *out = nullptr;
    for (const ClassEntry& entry : classes)
        if (IsEqualCLSID(clsid, *entry.clsid))
            return CreateAndQuery<ClassFactory>(iid, out, entry, nullOut);
    return CLASS_E_CLASSNOTAVAILABLE;
}

} // namespace common::win32
