#pragma once
// An identifier in its registry form, "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
#include <objbase.h>

#include <string>

namespace common::win32 {

inline std::string GuidText(REFGUID guid) {
    wchar_t wide[40] = {};
    const int length = StringFromGUID2(guid, wide, 40);
    std::string text;
    // The form is plain ASCII; the count includes the terminating NUL.
    for (int i = 0; i + 1 < length; ++i)
        text += static_cast<char>(wide[i]);
    return text;
}

} // namespace common::win32
