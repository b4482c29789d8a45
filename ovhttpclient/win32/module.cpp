// Entry points of OvHttpClient.dll: load and unload, class objects and the unload rule.
#include "common/win32/com_module.h"
#include "ovhttpclient/win32/error_info.h"
#include "ovhttpclient/win32/http_client.h"
#include "ovhttpclient/win32/http_worker.h"
#include "ovhttpclient_h.h"

namespace {

constexpr common::win32::ClassEntry kClasses[] = {
    {&CLSID_OvHttpClient, &ovhttp::HttpClient::Create, /*aggregatable=*/true},
};

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        common::win32::SetModuleInstance(instance);
        DisableThreadLibraryCalls(instance);
        return ovhttp::LibraryLoad(instance) ? TRUE : FALSE;
    case DLL_PROCESS_DETACH:
        ovhttp::LibraryUnload();
        break;
    }
    return TRUE;
}

STDAPI DllCanUnloadNow() {
    return common::win32::CanUnloadNow();
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out) {
    return common::win32::GetClassObject(kClasses, clsid, iid, out, ovhttp::kNullArgument);
}
