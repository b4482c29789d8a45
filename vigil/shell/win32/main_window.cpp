#include "vigil/shell/win32/main_window.h"

#include "vigil/shell/win32/control_ids.h"

#include <commctrl.h>

namespace vigil::shell {

namespace {
constexpr int kMainWidth = 640;
constexpr int kMainHeight = 420;
} // namespace

MainWindow::MainWindow(forms::Windows& windows, HICON icon, std::function<void()> onClose)
    : main_(windows.form1, kMainWidth, kMainHeight, icon, std::move(onClose)),
      settings_(windows.settings, 300, 90, icon) {
    LayOutDomains(windows.form1);
    main_.BindForm();

    auto& s = windows.settings;
    auto& sb = settings_.Binding();
    settings_.AddChild(WC_STATICA, "Dial state:", 0, -1, 10, 14, 90, 20);
    sb.BindTextBox(settings_.AddChild(WC_EDITA, "", WS_BORDER | ES_AUTOHSCROLL, IDC_DIALSTATE, 110,
                                      10, 180, 22),
                   s.dialState);
    settings_.AddChild(WC_STATICA, "Dial-up entry:", 0, -1, 10, 50, 90, 20);
    sb.BindTextBox(settings_.AddChild(WC_EDITA, "", WS_BORDER | ES_AUTOHSCROLL,
                                      IDC_DIALUPCONNECTION, 110, 46, 180, 22),
                   s.dialUpConnection);
    settings_.BindForm();
}

void MainWindow::LayOutDomains(forms::Form1& f) {
    auto& b = main_.Binding();
    const int x = 8, y = 8, w = 260, h = kMainHeight - 16;
    b.BindStatic(main_.AddChild(WC_BUTTONA, "", BS_GROUPBOX, IDC_FRAME1, x, y, w, h), f.Frame1);
    b.BindListView(
        main_.AddChild(WC_LISTVIEWA, "",
                       WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                       IDC_LISTVIEW1, x + 10, y + 22, w - 20, h - 116),
        f.ListView1);
    main_.AddChild(WC_STATICA, "Sites:", 0, IDC_WEBCOUNT_LABEL, x + 10, y + h - 86, 40, 18);
    b.BindTextBox(main_.AddChild(WC_STATICA, "", 0, IDC_WEBCOUNT, x + 52, y + h - 86, 60, 18),
                  f.webCount);
    b.BindTextBox(main_.AddChild(WC_EDITA, "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL,
                                 IDC_DOMAINTOADD, x + 10, y + h - 64, w - 20, 22),
                  f.domainToAdd);
    const int buttonWidth = (w - 30) / 2;
    b.BindButton(main_.AddChild(WC_BUTTONA, "", WS_TABSTOP | BS_PUSHBUTTON, IDC_ADDDOMAIN, x + 10,
                                y + h - 34, buttonWidth, 26),
                 f.AddDomain);
    b.BindButton(main_.AddChild(WC_BUTTONA, "", WS_TABSTOP | BS_PUSHBUTTON, IDC_COMMAND1,
                                x + 20 + buttonWidth, y + h - 34, buttonWidth, 26),
                 f.Command1);
}

} // namespace vigil::shell
