#pragma once
// The control class DialUpNetworking: owns one CDialUpNetworking, forwards every member to it
// and relays its events to the host's sinks through a connection point. As a control it keeps
// its size fixed at 450 by 450 twips and persists RaiseErrors in the host's property bag.
#include <unknwn.h>

namespace ringer::win32 {

// A new control, with one reference for the caller (class factory).
HRESULT CreateDialUpNetworking(IUnknown* outer, REFIID riid, void** object);

// The fixed extent: 450 twips in HIMETRIC (0.01 mm), rounded.
inline constexpr long kExtentHimetric = (450 * 2540 + 720) / 1440;

} // namespace ringer::win32
