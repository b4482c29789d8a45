#include "vigil/notify/win32/win32_report_printer.h"

#include <commdlg.h>

#include <vector>

namespace vigil::notify::win32 {

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            lines.push_back(line);
            line.clear();
        } else {
            line += text[i];
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

} // namespace

bool PrintTextTo(HDC dc, const std::string& text, const std::string& documentName,
                 const std::string& output) {
    DOCINFOA doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = documentName.c_str();
    doc.lpszOutput = output.empty() ? nullptr : output.c_str();
    if (StartDocA(dc, &doc) <= 0)
        return false;
    // Half an inch of margin on every side.
    const int marginX = GetDeviceCaps(dc, LOGPIXELSX) / 2;
    const int marginY = GetDeviceCaps(dc, LOGPIXELSY) / 2;
    RECT page{marginX, marginY, GetDeviceCaps(dc, HORZRES) - marginX,
              GetDeviceCaps(dc, VERTRES) - marginY};
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    const int lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    bool ok = page.right > page.left && page.bottom > page.top + lineHeight;
    bool pageOpen = false;
    int y = page.top;
    const UINT format = DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;
    for (const std::string& line : Lines(text)) {
        if (!ok)
            break;
        RECT box{page.left, 0, page.right, 0};
        const char* shown = line.empty() ? " " : line.c_str();
        int height = DrawTextA(dc, shown, -1, &box, format | DT_CALCRECT);
        if (height <= 0)
            height = lineHeight;
        if (pageOpen && y + height > page.bottom) {
            ok = EndPage(dc) > 0;
            pageOpen = false;
        }
        if (ok && !pageOpen) {
            ok = StartPage(dc) > 0;
            pageOpen = ok;
            y = page.top;
        }
        if (!ok)
            break;
        // A line taller than a page is cut at the page's end.
        RECT place{page.left, y, page.right, y + height < page.bottom ? y + height : page.bottom};
        DrawTextA(dc, shown, -1, &place, format);
        y += height;
    }
    if (pageOpen && EndPage(dc) <= 0)
        ok = false;
    if (!ok) {
        AbortDoc(dc);
        return false;
    }
    return EndDoc(dc) > 0;
}

void Win32ReportPrinter::Release() {
    if (dc_)
        DeleteDC(dc_);
    dc_ = nullptr;
}

bool Win32ReportPrinter::ChoosePrinter(unsigned flags) {
    Release();
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner_;
    dialog.Flags = flags;
    const BOOL chosen = PrintDlgA(&dialog);
    // The dialog's device settings are ours to free whatever the answer.
    if (dialog.hDevMode)
        GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames)
        GlobalFree(dialog.hDevNames);
    if (!chosen) {
        if (dialog.hDC)
            DeleteDC(dialog.hDC);
        return false;
    }
    dc_ = dialog.hDC;
    return dc_ != nullptr;
}

void Win32ReportPrinter::Print(const std::string& text) {
    if (dc_)
        PrintTextTo(dc_, text, "Vigil Report");
    Release();
}

} // namespace vigil::notify::win32
