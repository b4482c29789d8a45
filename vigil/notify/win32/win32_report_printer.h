#pragma once
// Printing the report: the printer dialog (PrintDlgA) returns a device context, on which the
// text is printed as lines of the device's default font, wrapped to the page, with margins.
#include "vigil/notify/report_ports.h"

#include <windows.h>

#include <string>

namespace vigil::notify::win32 {

// Prints the text as one document on the device context; false when the device refused it.
// output names a file to print into instead of the device's port (empty: the port).
bool PrintTextTo(HDC dc, const std::string& text, const std::string& documentName,
                 const std::string& output = {});

class Win32ReportPrinter : public ReportPrinter {
public:
    Win32ReportPrinter() = default;
    Win32ReportPrinter(const Win32ReportPrinter&) = delete;
    Win32ReportPrinter& operator=(const Win32ReportPrinter&) = delete;
    ~Win32ReportPrinter() override { Release(); }

    void SetOwner(HWND owner) { owner_ = owner; }
    bool ChoosePrinter(unsigned flags) override;
    void Print(const std::string& text) override;

private:
    void Release();

    HWND owner_ = nullptr;
    HDC dc_ = nullptr; // the chosen device, owned until printed on or replaced
};

} // namespace vigil::notify::win32
