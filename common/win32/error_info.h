#pragma once
// The thread's error information (IErrorInfo) as automation clients read it.
#include <windows.h>

#include <string>

namespace common::win32 {

// Clears the thread's error information.
void ClearErrorInfo();
// Sets error information (source, description, the interface that failed) and returns `hr`.
HRESULT ReportError(HRESULT hr, const wchar_t* source, const wchar_t* description, REFIID iid);
// The same with ANSI texts in the system code page.
HRESULT ReportError(HRESULT hr, const std::string& source, const std::string& description,
                    REFIID iid);

} // namespace common::win32
