#pragma once
// Error information for automation clients.
#include <windows.h>

namespace ovhttp {

// Clears the thread's error information: every member starts with this.
void ClearErrorInfo();
// Sets error information (source, description, interface) and returns `hr`.
HRESULT ReportError(HRESULT hr, const wchar_t* source, const wchar_t* description, REFIID iid);

// The library's own error numbers.
inline constexpr HRESULT kErrInvalidPropertyValue = static_cast<HRESULT>(0x80029C40);
inline constexpr HRESULT kErrInvalidParameterType = static_cast<HRESULT>(0x80029C41);
inline constexpr HRESULT kErrUserDataCopy = static_cast<HRESULT>(0x80029C42);
inline constexpr HRESULT kErrUnsupportedType = static_cast<HRESULT>(0x80029C43);
inline constexpr HRESULT kErrPostFailed = static_cast<HRESULT>(0x80029C45);
inline constexpr HRESULT kErrSendReceiveFailed = static_cast<HRESULT>(0x80029C46);
inline constexpr HRESULT kErrNotConnected = static_cast<HRESULT>(0x80029C47);

} // namespace ovhttp
