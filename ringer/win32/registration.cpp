#include "ringer/win32/registration.h"

#include "ringer/win32/ringer_h.h"

#include "common/win32/com_module.h"
#include "common/win32/guid_text.h"
#include "common/win32/registrar.h"

#include <olectl.h>

#include <string>

namespace ringer::win32 {

namespace {

std::string ClassKey() {
    return "CLSID\\" + common::win32::GuidText(CLSID_DialUpNetworking);
}

} // namespace

HRESULT RegisterServer() {
    const std::string clsid = common::win32::GuidText(CLSID_DialUpNetworking);
    const std::string classKey = ClassKey();
    const std::string progIdKey = kProgId;
    const std::string miscStatus = std::to_string(
        OLEMISC_SETCLIENTSITEFIRST | OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE);
    // CATID_Control: containers list the class among the controls they can insert.
    const std::string controlCategory = "{40FC6ED4-2438-11CF-A3DB-080036F12502}";

    const common::win32::RegistryEntry entries[] = {
        {classKey, nullptr, kClassName},
        {classKey + "\\InprocServer32", nullptr, common::win32::ModulePath()},
        {classKey + "\\InprocServer32", "ThreadingModel", "Apartment"},
        {classKey + "\\ProgID", nullptr, kProgId},
        {classKey + "\\VersionIndependentProgID", nullptr, kProgId},
        {classKey + "\\TypeLib", nullptr, common::win32::GuidText(LIBID_Ringer)},
        {classKey + "\\Version", nullptr, "1.0"},
        {classKey + "\\Control", nullptr, ""},
        {classKey + "\\Programmable", nullptr, ""},
        {classKey + "\\MiscStatus", nullptr, "0"},
        {classKey + "\\MiscStatus\\1", nullptr, miscStatus},
        {classKey + "\\Implemented Categories\\" + controlCategory, nullptr, ""},
        {progIdKey, nullptr, kClassName},
        {progIdKey + "\\CLSID", nullptr, clsid},
    };
    if (!common::win32::WriteRegistryEntries(entries))
        return SELFREG_E_CLASS;
    if (FAILED(common::win32::RegisterModuleTypeLib())) {
        UnregisterServer();
        return SELFREG_E_TYPELIB;
    }
    return S_OK;
}

HRESULT UnregisterServer() {
    const std::string keys[] = {ClassKey(), kProgId};
    common::win32::RemoveRegistryKeys(keys);
    common::win32::UnregisterModuleTypeLib();
    return S_OK;
}

} // namespace ringer::win32
