#include "ringer/win32/registration.h"

#include "ringer/win32/dial_up_networking.h"
#include "ringer/win32/module.h"
#include "ringer/win32/ringer_h.h"

#include "common/win32/bstr.h"
#include "common/win32/com_ptr.h"

#include <oleauto.h>
#include <olectl.h>
#include <shlwapi.h>

#include <string>
#include <vector>

namespace ringer::win32 {

namespace {

std::string GuidText(REFGUID guid) {
    wchar_t wide[40] = {};
    StringFromGUID2(guid, wide, 40);
    char text[40] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof(text), nullptr, nullptr);
    return text;
}

// Writes one string value (the key's default when name is null), creating the key.
bool SetValue(const std::string& key, const char* name, const std::string& value) {
    HKEY hkey = nullptr;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE, nullptr, &hkey, nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExA(hkey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>(value.size() + 1));
    RegCloseKey(hkey);
    return rc == ERROR_SUCCESS;
}

} // namespace

HRESULT RegisterServer() {
    const std::string clsid = GuidText(CLSID_DialUpNetworking);
    const std::string classKey = "CLSID\\" + clsid;
    const std::string progIdKey = kProgId;
    const std::string miscStatus = std::to_string(
        OLEMISC_SETCLIENTSITEFIRST | OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE);
    // CATID_Control: containers list the class among the controls they can insert.
    const std::string controlCategory = "{40FC6ED4-2438-11CF-A3DB-080036F12502}";

    const bool ok =
        SetValue(classKey, nullptr, kClassName) &&
        SetValue(classKey + "\\InprocServer32", nullptr, ModulePath()) &&
        SetValue(classKey + "\\InprocServer32", "ThreadingModel", "Apartment") &&
        SetValue(classKey + "\\ProgID", nullptr, kProgId) &&
        SetValue(classKey + "\\VersionIndependentProgID", nullptr, kProgId) &&
        SetValue(classKey + "\\TypeLib", nullptr, GuidText(LIBID_Ringer)) &&
        SetValue(classKey + "\\Version", nullptr, "1.0") &&
        SetValue(classKey + "\\Control", nullptr, "") &&
        SetValue(classKey + "\\Programmable", nullptr, "") &&
        SetValue(classKey + "\\MiscStatus", nullptr, "0") &&
        SetValue(classKey + "\\MiscStatus\\1", nullptr, miscStatus) &&
        SetValue(classKey + "\\Implemented Categories\\" + controlCategory, nullptr, "") &&
        SetValue(progIdKey, nullptr, kClassName) && SetValue(progIdKey + "\\CLSID", nullptr, clsid);
    if (!ok) {
        UnregisterServer();
        return SELFREG_E_CLASS;
    }

    common::ComPtr<ITypeLib> typeLib;
    if (FAILED(LoadTypeLibEx(common::Bstr::FromAnsi(ModulePath()).Get(), REGKIND_REGISTER,
                             typeLib.Put()))) {
        UnregisterServer();
        return SELFREG_E_TYPELIB;
    }
    return S_OK;
}

HRESULT UnregisterServer() {
    const std::string clsid = GuidText(CLSID_DialUpNetworking);
    SHDeleteKeyA(HKEY_CLASSES_ROOT, ("CLSID\\" + clsid).c_str());
    SHDeleteKeyA(HKEY_CLASSES_ROOT, kProgId);

    common::ComPtr<ITypeLib> typeLib;
    if (SUCCEEDED(GetRingerTypeLib(typeLib.Put()))) {
        TLIBATTR* attr = nullptr;
        if (SUCCEEDED(typeLib->GetLibAttr(&attr))) {
            UnRegisterTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid,
                              attr->syskind);
            typeLib->ReleaseTLibAttr(attr);
        }
    }
    return S_OK;
}

} // namespace ringer::win32
