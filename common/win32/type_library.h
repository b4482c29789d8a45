#pragma once
// The type information that a library's dispatch interfaces are served from.
#include <oaidl.h>

namespace common::win32 {

// The type library in the module's own file, loaded once and kept until the process ends.
HRESULT ModuleTypeLib(ITypeLib** library);
// Type information of one interface or class of that library.
HRESULT ModuleTypeInfo(REFGUID guid, ITypeInfo** info);
// Type information from the registered library `libid` (version major.minor, for `lcid`);
// when it is not registered (yet), the library in the module's own file serves as well.
HRESULT RegisteredTypeInfo(REFGUID libid, WORD major, WORD minor, LCID lcid, REFGUID guid,
                           ITypeInfo** info);

} // namespace common::win32
