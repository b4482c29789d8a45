#include "common/win32/type_library.h"

#include "common/win32/com_module.h"
#include "common/win32/com_ptr.h"

#include <oleauto.h>

namespace common::win32 {

namespace {
ITypeLib* g_moduleTypeLib = nullptr; // kept until the process ends
} // namespace

HRESULT ModuleTypeLib(ITypeLib** library) {
    if (!library)
        return kNullOut;
    *library = nullptr;
    if (!g_moduleTypeLib) {
        const std::wstring path = ModulePathW();
        if (path.empty())
            return E_FAIL;
        ITypeLib* loaded = nullptr;
        const HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, &loaded);
        if (FAILED(hr))
            return hr;
        // Only the first loads of several threads can race; one of them is kept.
        if (InterlockedCompareExchangePointer(reinterpret_cast<void**>(&g_moduleTypeLib), loaded,
                                              nullptr) != nullptr)
            loaded->Release();
    }
    g_moduleTypeLib->AddRef();
    *library = g_moduleTypeLib;
    return S_OK;
}

HRESULT ModuleTypeInfo(REFGUID guid, ITypeInfo** info) {
    if (!info)
        return kNullOut;
    *info = nullptr;
    ComPtr<ITypeLib> library;
    const HRESULT hr = ModuleTypeLib(library.Put());
    if (FAILED(hr))
        return hr;
    return library->GetTypeInfoOfGuid(guid, info);
}

HRESULT RegisteredTypeInfo(REFGUID libid, WORD major, WORD minor, LCID lcid, REFGUID guid,
                           ITypeInfo** info) {
    if (!info)
        return kNullOut;
    *info = nullptr;
    ComPtr<ITypeLib> library;
    HRESULT hr = LoadRegTypeLib(libid, major, minor, lcid, library.Put());
    if (FAILED(hr)) {
        hr = ModuleTypeLib(library.Put());
        if (FAILED(hr))
            return hr;
    }
    return library->GetTypeInfoOfGuid(guid, info);
}

} // namespace common::win32
