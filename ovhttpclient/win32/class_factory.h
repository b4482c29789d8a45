#pragma once
#include <windows.h>

namespace ovhttp {

// A class factory of the HTTP client object, answered for the interface asked.
HRESULT CreateClassFactory(REFIID iid, void** out);

} // namespace ovhttp
