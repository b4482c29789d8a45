#include "vigil/shell/win32/vigil_app.h"

#include "vigil/engine/interval_fields.h"
#include "vigil/shell/show_switch.h"
#include "vigil/shell/tray_menu.h"
#include "vigil/shell/win32/control_ids.h"

namespace vigil::shell::win32 {

bool DialogMessage(MSG& msg) {
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    char className[16] = {};
    if (!root || !GetClassNameA(root, className, sizeof(className)) ||
        lstrcmpA(className, "#32770") != 0)
        return false;
    return IsDialogMessageA(root, &msg) != FALSE;
}

VigilApp::VigilApp(HINSTANCE instance)
    : instance_(instance), icon_(LoadIconA(instance, MAKEINTRESOURCEA(IDI_VIGIL))),
      store_(windows_, registry_, screen_), settings_(store_), sites_(windows_, [this] { Save(); }),
      mainWindow_(windows_.form1, icon_,
                  [this] {
                      if (lifeCycle_)
                          lifeCycle_->WindowCloseQuit();
                  }),
      reportWindow_(windows_.reportWindow, icon_), otherWindows_(windows_, icon_),
      pump_(DialogMessage), siteTransfer_(pump_), connectionTransfer_(pump_),
      errorsTransfer_(pump_), log_(windows_.reportWindow.report, clock_, files_, dialogs_),
      checker_(windows_.form1, pump_, clock_),
      behaviour_(windows_.form1, settings_, fileDialog_, shellOpen_, files_),
      connection_(connectionFlags_), ringer_(),
      connectionModes_(windows_, connection_, ringer_, [this] { Save(); }), mailSender_(pump_),
      pageLoader_(pump_), emailer_(windows_, log_, mailSender_, pageLoader_, clock_, pump_),
      emailerWindow_(windows_, [this] { Save(); }), alerts_(windows_, soundPlayer_),
      reporting_(windows_, notify::ReportingPorts{files_, pump_, clock_, dialogs_, reportShell_,
                                                  printer_, places_, GetACP()}),
      icons_(instance), cycleTray_(tray_, icons_), notifications_(emailer_, alerts_, reporting_),
      cycle_(windows_, checker_, log_,
             engine::CyclePorts{pump_, clock_, dialogs_, connection_, ringer_, cycleTray_,
                                notifications_}),
      // startschedule is saved by the main window's behaviour with the other options.
      scheduler_(
          windows_.form1, [this](const std::string& mode) { cycle_.BeginCheck(mode); }, nullptr) {
    HWND main = mainWindow_.Handle();
    process_.SetMainWindow(main);
    dialogs_.SetOwner(main);
    fileDialog_.SetOwner(main);
    shellOpen_.SetOwner(main);
    reportShell_.SetOwner(notify::ShellOwner::MainWindow, main);
    reportShell_.SetOwner(notify::ShellOwner::ErrorWindow, otherWindows_.Errors());
    printer_.SetOwner(reportWindow_.Handle());

    auto& f = windows_.form1;
    f.Inet1.Attach(&siteTransfer_);
    f.Inet2.Attach(&connectionTransfer_);
    windows_.errorsWindow.Inet1.Attach(&errorsTransfer_);
    sites_.BindButtons();
    f.Command5.Clicked.Add([this] { windows_.emailer.Show(); }); // "Configure"

    lifeCycle_ = std::make_unique<LifeCycle>(windows_, settings_, process_, pump_, log_, clock_,
                                             dialogs_, Steps());
}

VigilApp::~VigilApp() {
    // The transfer controls outlive their transfers only as far as this destructor.
    windows_.form1.Inet1.Attach(nullptr);
    windows_.form1.Inet2.Attach(nullptr);
    windows_.errorsWindow.Inet1.Attach(nullptr);
}

LifeCycleSteps VigilApp::Steps() {
    LifeCycleSteps steps;
    steps.bindDialUpControl = [this] { connectionModes_.Bind(); };
    steps.fillDialUpEntries = [this] {
        sites_.FinishLoad();
        connectionModes_.FillDialUpEntries();
    };
    steps.loadFrequencyData = [this] { reporting_.LoadFrequencyData(); };
    steps.startSchedule = [this] { scheduler_.StartOnLoad(); };
    steps.createTrayIcon = [this] { CreateTrayIcon(); };
    steps.removeTrayIcon = [this] { RemoveTrayIcon(); };
    steps.unloadWindow = [this](forms::Form& form) { UnloadWindow(form); };
    return steps;
}

void VigilApp::CreateTrayIcon() {
    tray_.emplace(icon_, "Vigil");
    frmSysTray& tray = tray_->Tray();
    SetUpTray(tray, icons_);
    WireTrayEvents(tray, MakeTrayActions());
    BindTrayTimers(windows_.form1, tray, icons_, [this] { return connection_.IsOnline(); });
}

void VigilApp::RemoveTrayIcon() {
    // The window stays until the program ends (this may run inside its own menu's event); the
    // icon goes now, and nothing reaches it afterwards.
    windows_.form1.tmrTray.SetEnabled(false);
    windows_.form1.webCheck.SetEnabled(false);
    if (tray_)
        tray_->Tray().Unload();
}

void VigilApp::UnloadWindow(forms::Form& form) {
    form.Hide();
    const std::pair<forms::Form*, HWND> real[] = {
        {&windows_.reportWindow, reportWindow_.Handle()},
        {&windows_.errorsWindow, otherWindows_.Errors()},
        {&windows_.splashWindow, otherWindows_.Splash()},
        {&windows_.uptimeWindow, otherWindows_.Uptime()},
        {&windows_.settings, otherWindows_.Settings()},
        {&windows_.emailer, otherWindows_.Emailer()},
        {&windows_.alertWindow, otherWindows_.Alert()},
        {&windows_.form1, mainWindow_.Handle()},
    };
    for (auto [owner, hwnd] : real)
        if (owner == &form && hwnd)
            DestroyWindow(hwnd);
}

void VigilApp::OpenMainWindow() {
    auto& f = windows_.form1;
    f.SetState(forms::WindowState::Normal);
    f.Show();
    HWND main = mainWindow_.Handle();
    if (!main)
        return;
    SetWindowPos(main, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetTopMostWindow(main, true);
    pump_.DoEvents();
    SetTopMostWindow(main, false);
}

TrayActions VigilApp::MakeTrayActions() {
    TrayActions actions;
    actions.open = [this] { OpenMainWindow(); };
    actions.doubleClick = [this] { OpenMainWindow(); };
    actions.check = [this] {
        engine::ClampIntervalForCheck(windows_.form1);
        cycle_.BeginCheck("Now");
    };
    actions.report = [this] { reporting_.Command4_Click(); };
    actions.status = [this] { reporting_.frequency_Click(); }; // refreshed, then shown
    actions.webSite = [this] { shellOpen_.Open(kVendorHomePage); };
    actions.close = [this] { lifeCycle_->MenuQuit(); };
    return actions;
}

void LateTrayIcon::SetToolTip(const std::string& text) {
    if (tray_)
        tray_->Tray().SetToolTip(text);
}

void LateTrayIcon::SetIcon(const std::string& iconName) {
    if (tray_)
        tray_->Tray().SetIconHandle(icons_.LoadIconResource(iconName));
}

bool VigilApp::Start(const std::string& commandLine) {
    if (lifeCycle_->Load() == LifeCycle::Start::SecondInstance)
        return false;
    if (auto view = ShowSwitch(commandLine))
        ShowView(windows_, *view);
    return true;
}

int VigilApp::Run() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (DialogMessage(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

} // namespace vigil::shell::win32
