#pragma once
// The module state of an in-process COM server: its instance handle and path, the count of
// live objects and of server locks that DllCanUnloadNow reads, and the table-driven class
// factory behind DllGetClassObject. Each library links its own copy.
#include "common/win32/com_object.h"

#include <windows.h>

#include <span>
#include <string>

namespace common::win32 {

void SetModuleInstance(HINSTANCE instance);
HINSTANCE ModuleInstance();
// Full path of the library's file, ANSI and wide; empty when it cannot be had.
std::string ModulePath();
std::wstring ModulePathW();

void ObjectCreated();
void ObjectDestroyed();
void LockServer(bool lock);
// DllCanUnloadNow: S_FALSE while an object lives or a server lock is held.
HRESULT CanUnloadNow();

// Counts its owner among the module's live objects for as long as it lives.
class ModuleReference {
public:
    ModuleReference() { ObjectCreated(); }
    ~ModuleReference() { ObjectDestroyed(); }
    ModuleReference(const ModuleReference&) = delete;
    ModuleReference& operator=(const ModuleReference&) = delete;
};

// One creatable class of a library.
struct ClassEntry {
    const CLSID* clsid;
    // Creates an object (under `outer` when aggregated) and queries it for `iid`.
    HRESULT (*create)(IUnknown* outer, REFIID iid, void** out);
    // Without aggregation an outer unknown is refused with CLASS_E_NOAGGREGATION; with it, an
    // outer unknown may only ask for the object's own IUnknown (else E_INVALIDARG).
    bool aggregatable;
};

// DllGetClassObject over a table of classes. `nullOut` is what the library answers for a null
// out-pointer, at this entry point and in the factory's CreateInstance.
HRESULT GetClassObject(std::span<const ClassEntry> classes, REFCLSID clsid, REFIID iid, void** out,
                       HRESULT nullOut = kNullOut);

} // namespace common::win32
