// The four entry points of the control library: class objects, unloading and
// self-registration.
#include "ringer/win32/dial_up_networking.h"
#include "ringer/win32/registration.h"
#include "ringer/win32/ringer_h.h"

#include "common/win32/com_module.h"

#include <windows.h>

namespace {

constexpr common::win32::ClassEntry kClasses[] = {
    {&CLSID_DialUpNetworking, &ringer::win32::CreateDialUpNetworking, /*aggregatable=*/false},
};

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        common::win32::SetModuleInstance(instance);
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
    return common::win32::GetClassObject(kClasses, clsid, riid, object);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return common::win32::CanUnloadNow();
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    return ringer::win32::RegisterServer();
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    return ringer::win32::UnregisterServer();
}
