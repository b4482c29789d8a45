#pragma once
// The collections of connection names the control returns: a new one for each call, read-only,
// indexed from 1 (Item, the default member), counted (Count) and enumerable (For Each).
#include <oaidl.h>

#include <string>
#include <vector>

namespace ringer::win32 {

HRESULT CreateNameCollection(std::vector<std::string> names, IDispatch** collection);

} // namespace ringer::win32
