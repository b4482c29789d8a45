#pragma once
// The library's module state: its instance handle, the count of live objects and locks that
// DllCanUnloadNow reads, and its own type library.
#include <windows.h>

#include <oaidl.h>

#include <string>

namespace ringer::win32 {

void SetModuleInstance(HINSTANCE instance);
HINSTANCE ModuleInstance();
// Full path of Ringer.dll.
std::string ModulePath();

void LockModule();
void UnlockModule();
bool ModuleInUse();

// Type information of one interface or class of the library's type library (loaded once).
HRESULT GetRingerTypeInfo(REFGUID guid, ITypeInfo** typeInfo);
HRESULT GetRingerTypeLib(ITypeLib** typeLib);

// Counts the object in the module's lock count for its lifetime.
class ModuleReference {
public:
    ModuleReference() { LockModule(); }
    ~ModuleReference() { UnlockModule(); }
    ModuleReference(const ModuleReference&) = delete;
    ModuleReference& operator=(const ModuleReference&) = delete;
};

} // namespace ringer::win32
