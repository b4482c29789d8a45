// Self-registration: the class, its two ProgIDs and the type library.
#include "ovhttpclient/win32/module.h"
#include "ovhttpclient_h.h"

#include <oleauto.h>

#include <cstdio>
#include <string>

namespace {

constexpr char kDescription[] = "Orvane HttpClient Library";
constexpr char kProgId[] = "Orvane.OvHttpClient.1";
constexpr char kIndependentProgId[] = "Orvane.OvHttpClient";
constexpr unsigned short kVersionMajor = 1;
constexpr unsigned short kVersionMinor = 0;

#if defined(_WIN64)
constexpr SYSKIND kOwnSysKind = SYS_WIN64;
#else
constexpr SYSKIND kOwnSysKind = SYS_WIN32;
#endif

// "{XXXXXXXX-...}", the registry form of an identifier.
std::string RegistryForm(REFGUID id) {
    wchar_t wide[64];
    StringFromGUID2(id, wide, 64);
    std::string text;
    for (const wchar_t* p = wide; *p; ++p)
        text += static_cast<char>(*p);
    return text;
}

bool WriteValue(const std::string& key, const char* name, const std::string& value) {
    HKEY handle;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return false;
    const LONG rc =
        RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    RegCloseKey(handle);
    return rc == ERROR_SUCCESS;
}

} // namespace

STDAPI DllRegisterServer() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(ovhttp::ModuleHandle(), path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return E_FAIL;
    const std::string clsid = RegistryForm(CLSID_OvHttpClient);
    const std::string classKey = "CLSID\\" + clsid;
    char version[32];
    std::snprintf(version, sizeof version, "%hu.%hu", kVersionMajor, kVersionMinor);

    struct Entry {
        std::string key;
        const char* name;
        std::string value;
    };
    const Entry entries[] = {
        {classKey, nullptr, kDescription},
        {classKey + "\\InprocServer32", nullptr, path},
        {classKey + "\\InprocServer32", "ThreadingModel", "Apartment"},
        {classKey + "\\ProgID", nullptr, kProgId},
        {classKey + "\\Programmable", nullptr, ""},
        {classKey + "\\TypeLib", nullptr, RegistryForm(LIBID_OvHttpClientLib)},
        {classKey + "\\Version", nullptr, version},
        {classKey + "\\VersionIndependentProgID", nullptr, kIndependentProgId},
        {kIndependentProgId, nullptr, kDescription},
        {std::string(kIndependentProgId) + "\\CLSID", nullptr, clsid},
        {std::string(kIndependentProgId) + "\\CurVer", nullptr, kProgId},
        {kProgId, nullptr, kDescription},
        {std::string(kProgId) + "\\CLSID", nullptr, clsid},
    };
    for (const Entry& e : entries)
        if (!WriteValue(e.key, e.name, e.value))
            return E_FAIL;

    wchar_t widePath[MAX_PATH];
    if (GetModuleFileNameW(ovhttp::ModuleHandle(), widePath, MAX_PATH) == 0)
        return E_FAIL;
    ITypeLib* library = nullptr;
    if (FAILED(LoadTypeLibEx(widePath, REGKIND_NONE, &library)))
        return E_FAIL;
    const HRESULT hr = RegisterTypeLib(library, widePath, nullptr);
    library->Release();
    return SUCCEEDED(hr) ? S_OK : E_FAIL;
}

STDAPI DllUnregisterServer() {
    const std::string clsid = RegistryForm(CLSID_OvHttpClient);
    const std::string classKey = "CLSID\\" + clsid;
    const std::string keys[] = {
        classKey + "\\VersionIndependentProgID",
        classKey + "\\Version",
        classKey + "\\TypeLib",
        classKey + "\\Programmable",
        classKey + "\\ProgID",
        classKey + "\\InprocServer32",
        classKey,
        std::string(kProgId) + "\\CLSID",
        kProgId,
        std::string(kIndependentProgId) + "\\CurVer",
        std::string(kIndependentProgId) + "\\CLSID",
        kIndependentProgId,
    };
    for (const std::string& key : keys)
        RegDeleteKeyA(HKEY_CLASSES_ROOT, key.c_str()); // already gone is fine
    // The type library was registered for this build's own platform.
    UnRegisterTypeLib(LIBID_OvHttpClientLib, kVersionMajor, kVersionMinor, LANG_NEUTRAL,
                      kOwnSysKind);
    return S_OK;
}
