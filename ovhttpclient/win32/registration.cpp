// Self-registration: the class, its two ProgIDs and the type library.
#include "common/win32/com_module.h"
#include "common/win32/guid_text.h"
#include "common/win32/registrar.h"
#include "ovhttpclient_h.h"

#include <cstdio>
#include <string>

namespace {

constexpr char kDescription[] = "Orvane HttpClient Library";
const std::string kProgId = "Orvane.OvHttpClient.1";
const std::string kIndependentProgId = "Orvane.OvHttpClient";
constexpr unsigned short kVersionMajor = 1;
constexpr unsigned short kVersionMinor = 0;

std::string ClassKey() {
    return "CLSID\\" + common::win32::GuidText(CLSID_OvHttpClient);
}

} // namespace

STDAPI DllRegisterServer() {
    const std::string path = common::win32::ModulePath();
    if (path.empty())
        return E_FAIL;
    const std::string clsid = common::win32::GuidText(CLSID_OvHttpClient);
    const std::string classKey = ClassKey();
    char version[32];
    std::snprintf(version, sizeof version, "%hu.%hu", kVersionMajor, kVersionMinor);

    const common::win32::RegistryEntry entries[] = {
        {classKey, nullptr, kDescription},
        {classKey + "\\InprocServer32", nullptr, path},
        {classKey + "\\InprocServer32", "ThreadingModel", "Apartment"},
        {classKey + "\\ProgID", nullptr, kProgId},
        {classKey + "\\Programmable", nullptr, ""},
        {classKey + "\\TypeLib", nullptr, common::win32::GuidText(LIBID_OvHttpClientLib)},
        {classKey + "\\Version", nullptr, version},
        {classKey + "\\VersionIndependentProgID", nullptr, kIndependentProgId},
        {kIndependentProgId, nullptr, kDescription},
        {kIndependentProgId + "\\CLSID", nullptr, clsid},
        {kIndependentProgId + "\\CurVer", nullptr, kProgId},
        {kProgId, nullptr, kDescription},
        {kProgId + "\\CLSID", nullptr, clsid},
    };
    if (!common::win32::WriteRegistryEntries(entries))
        return E_FAIL;
    return SUCCEEDED(common::win32::RegisterModuleTypeLib()) ? S_OK : E_FAIL;
}

STDAPI DllUnregisterServer() {
    const std::string keys[] = {ClassKey(), kProgId, kIndependentProgId};
    common::win32::RemoveRegistryKeys(keys); // already gone is fine
    common::win32::UnregisterModuleTypeLib();
    return S_OK;
}
