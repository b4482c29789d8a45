// Entry point and unload rule of OvHttpClient.dll.
#include "ovhttpclient/win32/module.h"

#include "ovhttpclient/win32/class_factory.h"
#include "ovhttpclient/win32/http_worker.h"
#include "ovhttpclient_h.h"

namespace ovhttp {

namespace {
HMODULE g_module = nullptr;
LONG g_objects = 0;
LONG g_serverLocks = 0;
} // namespace

HMODULE ModuleHandle() {
    return g_module;
}
void ObjectCreated() {
    InterlockedIncrement(&g_objects);
}
void ObjectDestroyed() {
    InterlockedDecrement(&g_objects);
}
void ServerLock(bool lock) {
    if (lock)
        InterlockedIncrement(&g_serverLocks);
    else
        InterlockedDecrement(&g_serverLocks);
}

} // namespace ovhttp

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        ovhttp::g_module = instance;
        DisableThreadLibraryCalls(instance);
        return ovhttp::LibraryLoad(instance) ? TRUE : FALSE;
    case DLL_PROCESS_DETACH:
        ovhttp::LibraryUnload();
        break;
    }
    return TRUE;
}

STDAPI DllCanUnloadNow() {
    using namespace ovhttp;
    const bool busy = InterlockedCompareExchange(&g_objects, 0, 0) != 0 ||
                      InterlockedCompareExchange(&g_serverLocks, 0, 0) != 0;
    return busy ? S_FALSE : S_OK;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out) {
    if (!out)
        return E_INVALIDARG;
    *out = nullptr;
    if (!IsEqualCLSID(clsid, CLSID_OvHttpClient))
        return CLASS_E_CLASSNOTAVAILABLE;
    return ovhttp::CreateClassFactory(iid, out);
}
