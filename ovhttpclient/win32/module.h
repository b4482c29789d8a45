#pragma once
// Process-wide state of the library: its module handle and the two counts of the unload rule.
#include <windows.h>

namespace ovhttp {

HMODULE ModuleHandle();

// Every object the library constructs (HTTP client objects and class factories) counts.
void ObjectCreated();
void ObjectDestroyed();
// The class factory's lock operation.
void ServerLock(bool lock);

} // namespace ovhttp
