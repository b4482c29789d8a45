#include "vigil/shell/win32/report_window.h"

#include "vigil/shell/win32/control_ids.h"

#include <stdexcept>

namespace vigil::shell::win32 {

using forms::win32::Kind;
using forms::win32::TwipsToPixels;

namespace {
void SetIcon(HWND hwnd, HICON icon) {
    if (!icon)
        return;
    SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}
} // namespace

ReportWindow::ReportWindow(forms::frmReport& form, HICON icon) : form_(form) {
    // The rich edit class lives in riched20.dll, which nothing else loads for us.
    static HMODULE richEdit = LoadLibraryA("riched20.dll");
    (void)richEdit;
    if (!Create(IDD_FRMREPORT))
        throw std::runtime_error("the report window could not be created");
    SetIcon(Handle(), icon);
    Binding().BindTable(Handle(), {
                                      {IDC_REPORT, form.report, Kind::RichText},
                                      {IDC_FRAREPORT, form.fraReport, Kind::Static},
                                      {IDC_CMDSAVE, form.cmdSave, Kind::Button},
                                      {IDC_REPORT_COMMAND1, form.Command1, Kind::Button},
                                      {IDC_REPORT_COMMAND2, form.Command2, Kind::Button},
                                      {IDC_CMDCLOSE, form.cmdClose, Kind::Button},
                                  });
    LayOut();
    BindForm(form);
}

void ReportWindow::LayOut() {
    HWND hwnd = Handle();
    RECT client;
    GetClientRect(hwnd, &client);
    auto rectOf = [hwnd](int id) {
        RECT r;
        GetWindowRect(GetDlgItem(hwnd, id), &r);
        MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    RECT frame = rectOf(IDC_FRAREPORT);
    RECT button = rectOf(IDC_CMDSAVE);
    const int margin = frame.left;
    const int frameHeight = frame.bottom - frame.top;
    const int buttonTop = button.top - frame.top;
    const int buttonWidth = button.right - button.left;
    const int buttonHeight = button.bottom - button.top;
    const int width = client.right - 2 * margin;
    const int frameTop = client.bottom - margin - frameHeight;
    MoveWindow(GetDlgItem(hwnd, IDC_REPORT), margin, margin, width, frameTop - 2 * margin, TRUE);
    MoveWindow(GetDlgItem(hwnd, IDC_FRAREPORT), margin, frameTop, width, frameHeight, TRUE);
    // The first three buttons sit at their left edges in twips, the last at the right edge.
    const std::pair<int, const forms::Button*> placed[] = {{IDC_CMDSAVE, &form_.cmdSave},
                                                           {IDC_REPORT_COMMAND1, &form_.Command1},
                                                           {IDC_REPORT_COMMAND2, &form_.Command2}};
    for (const auto& [id, b] : placed)
        MoveWindow(GetDlgItem(hwnd, id), TwipsToPixels(b->Place().left), frameTop + buttonTop,
                   buttonWidth, buttonHeight, TRUE);
    MoveWindow(GetDlgItem(hwnd, IDC_CMDCLOSE), client.right - 2 * margin - buttonWidth,
               frameTop + buttonTop, buttonWidth, buttonHeight, TRUE);
}

bool ReportWindow::OnMessage(UINT msg, WPARAM, LPARAM lParam, INT_PTR& result) {
    switch (msg) {
    case WM_SIZE:
        LayOut();
        result = 0;
        return true;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize.x = TwipsToPixels(forms::kReportMinWidth);
        info->ptMinTrackSize.y = TwipsToPixels(forms::kReportMinHeight);
        result = 0;
        return true;
    }
    default:
        return false;
    }
}

} // namespace vigil::shell::win32
