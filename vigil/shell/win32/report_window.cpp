#include "vigil/shell/win32/report_window.h"

#include "vigil/shell/win32/control_ids.h"

#include <commctrl.h>
#include <richedit.h>

namespace vigil::shell {

namespace {
constexpr int kWidth = 520;
constexpr int kHeight = 360;

// The rich edit class lives in riched20.dll, which nothing else loads for us.
const char* RichEditClass() {
    static HMODULE library = LoadLibraryA("riched20.dll");
    return library ? RICHEDIT_CLASSA : WC_EDITA;
}
} // namespace

ReportWindow::ReportWindow(forms::frmReport& form, HICON icon)
    : window_(form, kWidth, kHeight, icon) {
    report_ = window_.AddChild(RichEditClass(), "",
                               WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                                   ES_READONLY | ES_NOHIDESEL,
                               IDC_REPORT, 4, 4, kWidth - 8, kHeight - 8);
    window_.Binding().BindRichText(report_, form.report);
    window_.BindForm();
}

} // namespace vigil::shell
