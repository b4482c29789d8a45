#include "common/win32/registrar.h"

#include "common/win32/com_module.h"
#include "common/win32/com_ptr.h"
#include "common/win32/handles.h"

#include <oleauto.h>
#include <shlwapi.h>

#include <vector>

namespace common::win32 {

namespace {

// Writes one value, creating its key; `created` learns whether the key is new.
bool WriteValue(const RegistryEntry& entry, bool& created) {
    UniqueHkey key;
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, entry.key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE, nullptr, key.Put(), &disposition) != ERROR_SUCCESS)
        return false;
    created = disposition == REG_CREATED_NEW_KEY;
    return RegSetValueExA(key.Get(), entry.name, 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(entry.value.c_str()),
                          static_cast<DWORD>(entry.value.size() + 1)) == ERROR_SUCCESS;
}

HRESULT LoadModuleTypeLib(ITypeLib** library) {
    const std::wstring path = ModulePathW();
    if (path.empty())
        return E_FAIL;
    return LoadTypeLibEx(path.c_str(), REGKIND_NONE, library);
}

} // namespace

bool WriteRegistryEntries(std::span<const RegistryEntry> entries) {
    std::vector<std::string> created;
    for (const RegistryEntry& entry : entries) {
        bool isNew = false;
        const bool written = WriteValue(entry, isNew);
        if (isNew)
            created.push_back(entry.key);
        if (!written) {
            for (auto it = created.rbegin(); it != created.rend(); ++it)
                SHDeleteKeyA(HKEY_CLASSES_ROOT, it->c_str());
            return false;
        }
    }
    return true;
}

void RemoveRegistryKeys(std::span<const std::string> keys) {
    for (const std::string& key : keys)
        SHDeleteKeyA(HKEY_CLASSES_ROOT, key.c_str());
}

HRESULT RegisterModuleTypeLib() {
    ComPtr<ITypeLib> library;
    HRESULT hr = LoadModuleTypeLib(library.Put());
    if (FAILED(hr))
        return hr;
    const std::wstring path = ModulePathW();
    return RegisterTypeLib(library.Get(), const_cast<LPOLESTR>(path.c_str()), nullptr);
}

HRESULT UnregisterModuleTypeLib() {
    ComPtr<ITypeLib> library;
    HRESULT hr = LoadModuleTypeLib(library.Put());
    if (FAILED(hr))
        return hr;
    TLIBATTR* attr = nullptr;
    hr = library->GetLibAttr(&attr);
    if (FAILED(hr))
        return hr;
    hr = UnRegisterTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid,
                           attr->syskind);
    library->ReleaseTLibAttr(attr);
    return hr;
}

} // namespace common::win32
