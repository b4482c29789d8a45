#pragma once
// The library's own error numbers; error information is set with common/win32/error_info.h.
#include <windows.h>

namespace ovhttp {

inline constexpr HRESULT kErrInvalidPropertyValue = static_cast<HRESULT>(0x80029C40);
inline constexpr HRESULT kErrInvalidParameterType = static_cast<HRESULT>(0x80029C41);
inline constexpr HRESULT kErrUserDataCopy = static_cast<HRESULT>(0x80029C42);
inline constexpr HRESULT kErrUnsupportedType = static_cast<HRESULT>(0x80029C43);
inline constexpr HRESULT kErrPostFailed = static_cast<HRESULT>(0x80029C45);
inline constexpr HRESULT kErrSendReceiveFailed = static_cast<HRESULT>(0x80029C46);
inline constexpr HRESULT kErrNotConnected = static_cast<HRESULT>(0x80029C47);

// A null out-pointer or method: the answer the library documents.
inline constexpr HRESULT kNullArgument = E_INVALIDARG;

} // namespace ovhttp
