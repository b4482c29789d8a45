#include "ringer/win32/module.h"

#include "common/win32/bstr.h"
#include "common/win32/com_ptr.h"

namespace ringer::win32 {

namespace {
HINSTANCE g_instance = nullptr;
LONG g_locks = 0;
ITypeLib* g_typeLib = nullptr; // kept until the process ends
} // namespace

void SetModuleInstance(HINSTANCE instance) {
    g_instance = instance;
}
HINSTANCE ModuleInstance() {
    return g_instance;
}

std::string ModulePath() {
    char path[MAX_PATH * 2] = {};
    DWORD length = GetModuleFileNameA(g_instance, path, sizeof(path));
    return std::string(path, length);
}

void LockModule() {
    InterlockedIncrement(&g_locks);
}
void UnlockModule() {
    InterlockedDecrement(&g_locks);
}
bool ModuleInUse() {
    return g_locks != 0;
}

HRESULT GetRingerTypeLib(ITypeLib** typeLib) {
    if (!typeLib)
        return E_POINTER;
    *typeLib = nullptr;
    if (!g_typeLib) {
        ITypeLib* loaded = nullptr;
        HRESULT hr =
            LoadTypeLibEx(common::Bstr::FromAnsi(ModulePath()).Get(), REGKIND_NONE, &loaded);
        if (FAILED(hr))
            return hr;
        // Objects live on the threads that create them; only the first load can race.
        if (InterlockedCompareExchangePointer(reinterpret_cast<void**>(&g_typeLib), loaded,
                                              nullptr) != nullptr)
            loaded->Release();
    }
    g_typeLib->AddRef();
    *typeLib = g_typeLib;
    return S_OK;
}

HRESULT GetRingerTypeInfo(REFGUID guid, ITypeInfo** typeInfo) {
    if (!typeInfo)
        return E_POINTER;
    *typeInfo = nullptr;
    common::ComPtr<ITypeLib> lib;
    HRESULT hr = GetRingerTypeLib(lib.Put());
    if (FAILED(hr))
        return hr;
    return lib->GetTypeInfoOfGuid(guid, typeInfo);
}

} // namespace ringer::win32
