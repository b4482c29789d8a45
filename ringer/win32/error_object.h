#pragma once
// The error object handed to hosts by LastError and the failure events: Number (the default
// member), Source and Description of one handled error. It never changes once made.
#include "ringer/ringer_error.h"

#include <oaidl.h>

namespace ringer::win32 {

// A new error object holding `error`, with one reference for the caller.
HRESULT CreateErrorObject(const ErrorInfo& error, IDispatch** object);

} // namespace ringer::win32
