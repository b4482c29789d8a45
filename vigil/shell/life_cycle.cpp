#include "vigil/shell/life_cycle.h"

#include <exception>
#include <initializer_list>

namespace vigil::shell {

namespace {

void Run(const std::function<void()>& step) {
    if (step)
        step();
}

// From the interval fix-up on, each start-up step may fail on its own.
template <typename F> void Tolerant(F&& step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

bool Unset(const std::string& text) {
    return text.empty() || text == "Error";
}

} // namespace

LifeCycle::LifeCycle(forms::Windows& windows, SettingsPort& settings, ProcessPort& process,
                     engine::MessagePump& pump, engine::ActivityLog& log,
                     const engine::ClockLocale& clock, engine::Dialogs& dialogs,
                     LifeCycleSteps steps)
    : windows_(windows), settings_(settings), process_(process), pump_(pump), log_(log),
      clock_(clock), dialogs_(dialogs), steps_(std::move(steps)) {
    windows_.form1.StateChanged.Add([this] { Form_Resize(); });
    // The splash closes itself when its timer first fires.
    auto& splash = windows_.splashWindow;
    splash.Timer1.Elapsed.Add([&splash] {
        splash.Timer1.SetEnabled(false);
        splash.Hide();
    });
}

LifeCycle::Start LifeCycle::Load() {
    auto& f = windows_.form1;
    Run(steps_.bindDialUpControl);

    startupDate_ = clock_.Now().Date();
    log_.SetLastLogDate(startupDate_);

    std::string path = settings_.ReadLocaleSetting(kLocalePath);
    if (!Unset(path))
        process_.ChangeFolder(path);

    for (forms::Frame* page : {&f.MonitoringFrm, &f.optionsFrm, &f.frmConnection, &f.schedulingFrm,
                               &f.notifyFrm, &f.frmAbout})
        page->SetVisible(page == &f.MonitoringFrm);

    if (process_.AnotherInstanceRuns())
        return Start::SecondInstance;

    f.emailChecks.Clear();

    if (auto about = process_.ReadTextFile(kAboutFile))
        f.about.SetText(*about);

    settings_.LoadSettings();
    Run(steps_.fillDialUpEntries);

    auto& splash = windows_.splashWindow;
    splash.lblVersion.SetCaption("Version " + f.version.Caption());
    splash.Show();

    Run(steps_.loadFrequencyData);

    Tolerant([&] {
        if (Unset(f.intervalMins.Text()))
            f.intervalMins.SetText("5");
        if (Unset(f.intervalHours.Text()))
            f.intervalHours.SetText("0");
    });
    Tolerant([&] {
        if (f.startschedule.Checked())
            Run(steps_.startSchedule);
    });
    Tolerant([&] { Run(steps_.createTrayIcon); });
    Tolerant([&] { process_.BringMainWindowToFront(); });
    Tolerant([&] {
        f.SetState(forms::WindowState::Normal);
        if (f.startmin.Value() != 1) // minimised: the window is hidden at once, never shown
            f.Show();
    });
    Tolerant([&] { f.webCheck.SetEnabled(true); });
    return Start::Running;
}

void LifeCycle::Form_Resize() {
    auto& f = windows_.form1;
    if (f.State() != forms::WindowState::Minimized)
        return;
    f.Hide();
    f.SetState(forms::WindowState::Normal);
}

void LifeCycle::Unload(forms::Form& form) {
    if (steps_.unloadWindow)
        steps_.unloadWindow(form);
    else
        form.Hide();
}

bool LifeCycle::WindowCloseQuit() {
    auto& f = windows_.form1;
    if (Busy()) {
        windows_.alertWindow.message.SetCaption(kCheckingAlert);
        windows_.alertWindow.Show();
        pump_.DoEvents();
    }
    if (Busy())
        return false;

    f.Hide();
    f.SetState(forms::WindowState::Normal);
    pump_.DoEvents();
    settings_.SaveSettings();
    int save = f.exReport.Value();
    if (save == 1 || save == -1)
        log_.SaveDailyReport();

    for (forms::Form* form : std::initializer_list<forms::Form*>{
             &windows_.reportWindow, &windows_.errorsWindow, &windows_.splashWindow,
             &windows_.uptimeWindow, &windows_.settings, &windows_.emailer, &windows_.alertWindow})
        Unload(*form);
    Run(steps_.unloadTrayWindow);
    Run(steps_.removeTrayIcon);
    Unload(f);
    process_.EndMessageLoop();
    return true;
}

bool LifeCycle::MenuQuit() {
    auto& f = windows_.form1;
    if (Busy()) {
        dialogs_.MsgBox(kCheckingMessage, engine::kMsgBoxTitle, engine::MsgBoxButtons::Ok);
        return false;
    }
    f.Hide();
    f.SetState(forms::WindowState::Normal);
    pump_.DoEvents();
    settings_.SaveSettings();
    // The program ends at once, but not with its icon left behind in the notification area.
    Run(steps_.removeTrayIcon);
    process_.EndProgramNow();
    return true;
}

} // namespace vigil::shell
