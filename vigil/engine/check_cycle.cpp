#include "vigil/engine/check_cycle.h"

#include "vigil/engine/check_results.h"
#include "vigil/engine/interval_fields.h"
#include "vigil/engine/notification_sets.h"
#include "vigil/engine/site_list.h"
#include "vigil/forms/vigil_emailer.h"

#include <exception>

namespace vigil::engine {

namespace t = cycle_text;

namespace {

inline constexpr const char* kIconBlank = "BLANK";
inline constexpr const char* kIconGreen = "GREEN";
inline constexpr const char* kIconYellow = "YELLOW";
inline constexpr const char* kIconRed = "RED";
inline constexpr const char* kIconNoWeb = "NOWEB";

bool IsPageRequestType(const std::string& type) {
    return type == forms::kProxyLan || type == forms::kIeDefault;
}

void RemoveEvery(forms::ListBox& set, const std::string& address) {
    while (SetContains(set, address))
        SetRemove(set, address);
}

} // namespace

CheckCycle::CheckCycle(forms::Windows& windows, ResponseChecker& checker, ActivityLog& log,
                       CyclePorts ports)
    : windows_(windows), f_(windows.form1), checker_(checker), log_(log), ports_(ports) {
    checkNowClick_ = f_.Command2.Clicked.Subscribe([this] { Command2_Click(); });
    // While a fetch runs, each tick shows the time so far; the figure logged is taken when
    // the fetch is over.
    responseTick_ = f_.msTimer.Elapsed.Subscribe(
        [this] { f_.msCount.SetText(std::to_string(ports_.clock.MonotonicMs() - timingStart_)); });
}

void CheckCycle::Command2_Click() {
    if (f_.webCount.Text() == "0") {
        ports_.dialogs.MsgBox(t::kEmptyList, kMsgBoxTitle, MsgBoxButtons::OkCancel);
        return;
    }
    ClampIntervalForCheck(f_);
    if (f_.Inet1.StillExecuting()) {
        if (ports_.dialogs.MsgBox(t::kBusy, kMsgBoxTitle, MsgBoxButtons::OkCancel) !=
            MsgBoxResult::Ok)
            return;
        f_.Inet1.Cancel();
    }
    BeginCheck("Now");
}

void CheckCycle::BeginCheck(const std::string& /*mode*/) {
    f_.lblQuit.SetCaption(kBusyMarker);
    f_.tmrTray.SetEnabled(true);
    if (!f_.Command2.Enabled())
        return; // a cycle runs: it keeps its own result icon
    f_.iconName.SetCaption(kIconBlank);
    running_ = true;

    f_.monReport.Clear();
    Log("");
    Log(t::kStarted + ports_.clock.GeneralDate(ports_.clock.Now()));
    SetEditingEnabled(false);
    windows_.errorsWindow.errorList.Clear();
    ports_.pump.DoEvents();

    const std::string testAddress = f_.connectionUrl.Text();
    if (testAddress.empty())
        ports_.dialogs.MsgBox(t::kInvalidTestUrl, kMsgBoxTitle, MsgBoxButtons::Ok);

    int retries = 0;
    if (ConnectionPhase(testAddress, retries) == Outcome::NoConnection) {
        AbortNoConnection();
        return;
    }

    const int siteCount = f_.domainList.ListCount();
    f_.ProgressBar1.SetRange(0, siteCount);
    f_.ProgressBar1.SetValue(0);
    Log(t::kInitialising);
    f_.Status.SetText(t::kInitialising);
    Log("");

    bool anyDown = false;
    for (int i = 0; i < siteCount; ++i) {
        const std::string address = f_.domainList.List(i);
        f_.ProgressBar1.SetValue(f_.ProgressBar1.Value() + 1);
        ports_.pump.DoEvents();
        Log(t::kProcessing + address);
        f_.SetCaption("Vigil - " + address);
        f_.Status.SetText(address);
        ports_.pump.DoEvents();

        std::string verdict;
        Attempt result = Attempt::Down;
        try {
            result = CheckSite(address, testAddress, retries, verdict);
        } catch (const std::exception&) {
            // A failure while handling the site: the site is down, with the verdict so far.
            f_.msTimer.SetEnabled(false);
            result = Attempt::Down;
        }
        if (result == Attempt::ConnectionLost) {
            AbortConnectionLost();
            return;
        }
        if (result == Attempt::Down) {
            SiteDown(i, address, verdict);
            anyDown = true;
        } else {
            SiteUp(i, address, verdict);
        }
        ports_.pump.DoEvents();
    }
    FinishCycle(siteCount, anyDown);
}

CheckCycle::Outcome CheckCycle::ConnectionPhase(const std::string& testAddress, int& retries) {
    for (;;) {
        bool online = false;
        try {
            SetUpProxies();
            ports_.tray.SetToolTip(t::kCheckingConnection);
            Log(t::kCheckingConnection);
            f_.Status.SetText(t::kCheckingConnectionStatus);
            f_.SetCaption(t::kCheckingConnectionCaption);
            online = DecideOnline(testAddress);
        } catch (const std::exception&) {
            online = false; // the control or a setting refused: no connection
        }
        if (online)
            return Outcome::Online;
        if (!f_.chkTriggerCon.Checked())
            return Outcome::NoConnection;
        Log(t::kTriggering);
        if (retries > f_.Slider1.Value())
            return Outcome::NoConnection;
        const std::string type = f_.dialType.Text();
        if (IsPageRequestType(type)) {
            try {
                f_.netData.SetText(f_.Inet1.OpenURL(f_.domainList.List(0)));
            } catch (const std::exception&) {
                // Only the attempt matters; the test that follows tells the result.
            }
            ++retries;
        } else if (type == forms::kDialUpConnection) {
            ++retries;
            Dial();
        } else {
            return Outcome::NoConnection;
        }
    }
}

void CheckCycle::SetUpProxies() {
    if (f_.dialType.Text() == forms::kProxyLan) {
        const std::string proxy = f_.proxyIP.Text() + ":" + f_.proxyPort.Text();
        for (forms::Inet* inet : {&f_.Inet1, &f_.Inet2}) {
            inet->SetProxy(proxy);
            inet->SetAccessType(AccessType::NamedProxy);
        }
    } else {
        for (forms::Inet* inet : {&f_.Inet1, &f_.Inet2})
            inet->SetAccessType(AccessType::Default);
    }
}

bool CheckCycle::DecideOnline(const std::string& testAddress) {
    const std::string type = f_.dialType.Text();
    bool linked = false;
    if (type == forms::kIeDefault)
        linked = ports_.connection.IsOnline();
    else if (type == forms::kDialUpConnection)
        linked = ports_.dialUp.Active(f_.ispListing.Text());
    else if (type == forms::kProxyLan)
        linked = ports_.connection.IsLanConnection();
    else
        return true; // no known type: nothing to test
    return linked && checker_.CheckUrl(testAddress, kConnectionCheck) == kVerdictOk;
}

CheckCycle::Attempt CheckCycle::CheckSite(const std::string& address,
                                          const std::string& testAddress, int& retries,
                                          std::string& verdict) {
    for (;;) {
        ports_.tray.SetToolTip(t::kChecking + address);
        verdict.clear();
        StartTiming();
        verdict = checker_.CheckUrl(address, kSiteCheck);
        StopTiming();
        const std::string responseTime = f_.msCount.Text();
        if (verdict == kVerdictOk) {
            Log(t::kResponse + responseTime + "ms");
            Log("");
            return Attempt::Up;
        }

        ports_.pump.DoEvents();
        Log("");
        // The site is judged only once the test address answers again.
        if (checker_.CheckUrl(f_.connectionUrl.Text(), kConnectionCheck) == kVerdictOk)
            return Attempt::Down;
        if (!f_.chkTriggerCon.Checked())
            return Attempt::ConnectionLost;
        Log(t::kTriggering);
        if (retries > f_.Slider1.Value())
            return Attempt::ConnectionLost;
        const std::string type = f_.dialType.Text();
        if (IsPageRequestType(type)) {
            checker_.CheckUrl(testAddress, kConnectionCheck);
            ++retries;
        } else if (type == forms::kDialUpConnection) {
            ++retries;
            Dial();
        } else {
            return Attempt::ConnectionLost;
        }
    }
}

void CheckCycle::StartTiming() {
    f_.msCount.SetText("0");
    timingStart_ = ports_.clock.MonotonicMs();
    f_.msTimer.SetEnabled(true);
}

void CheckCycle::StopTiming() {
    f_.msTimer.SetEnabled(false);
    f_.msCount.SetText(std::to_string(ports_.clock.MonotonicMs() - timingStart_));
}

void CheckCycle::Dial() {
    forms::TextBox& dialState = windows_.settings.dialState;
    ports_.pump.DoEvents();
    dialState.SetText({});
    try {
        ports_.dialUp.Connect(windows_.settings.dialUpConnection.Text());
    } catch (const std::exception&) {
        // The control refused the dial; its failure event may have said so already.
        if (dialState.Text().empty())
            dialState.SetText(t::kFailedDial);
    }
    ports_.pump.DoEvents();
    ports_.clock.Sleep(kDialSettleMs);
    const std::int64_t deadline = ports_.clock.MonotonicMs() + kDialEventWaitMs;
    while (dialState.Text().empty()) {
        if (ports_.clock.MonotonicMs() >= deadline) {
            dialState.SetText(t::kFailedDial); // no outcome will come: the dial failed
            break;
        }
        ports_.pump.DoEvents();
        if (dialState.Text().empty())
            ports_.clock.Sleep(kDialPollMs);
    }
    Log(dialState.Text());
    ports_.pump.DoEvents();
    ports_.clock.Sleep(kAfterDialMs);
}

void CheckCycle::SiteDown(int position, const std::string& address, const std::string& verdict) {
    forms::ListBox& errorList = windows_.errorsWindow.errorList;
    errorList.AddItem(address);
    // The header heads the first failing site of the cycle, wherever it stands in the list.
    if (f_.monReport.ListCount() == 0)
        f_.monReport.AddItem(t::kErrorsHeader);
    f_.monReport.AddItem(address);
    Log(t::kSiteDown + address);
    Log(t::kErrorPrefix + verdict);
    RecordCheckResult(f_, address, position, 0, 1);
    if (windows_.emailer.emailNotify.Text() != forms::kEmailNone)
        ports_.notifications.SendFailureNotification(address, verdict);
    RemoveEvery(f_.emailChecksOK, address);
    f_.iconName.SetCaption(kIconYellow);
    ports_.tray.SetIcon(kIconYellow);
    if (errorList.ListCount() > 2) {
        f_.iconName.SetCaption(kIconRed);
        ports_.tray.SetIcon(kIconRed);
    }
    f_.ListView1.SetSubItem(position + 1, 1, "Err");
}

void CheckCycle::SiteUp(int position, const std::string& address, const std::string& verdict) {
    f_.ListView1.SetSubItem(position + 1, 1, "Ok");
    RecordCheckResult(f_, address, position, 1, 0);
    RemoveEvery(f_.emailChecks, address);
    if (!SetContains(f_.emailChecksOK, address))
        ports_.notifications.SendRecoveryNotification(address, verdict);
}

void CheckCycle::FinishCycle(int siteCount, bool anyDown) {
    f_.ProgressBar1.SetValue(siteCount);
    f_.ProgressBar1.SetValue(0);
    Log("");

    if (!anyDown) {
        Log(t::kVerified);
        if (f_.dialType.Text() == forms::kDialUpConnection) {
            try {
                ports_.dialUp.Disconnect(windows_.settings.dialUpConnection.Text());
            } catch (const std::exception&) {
                // Its failure event tells the state; the cycle ends all the same.
            }
            Log(t::kDisconnecting);
        }
        f_.iconName.SetCaption(kIconGreen);
        ports_.tray.SetIcon(kIconGreen);
    }
    const int errorCount = windows_.errorsWindow.errorList.ListCount();
    if (anyDown) {
        if (f_.errorWin.Checked())
            ports_.notifications.ShowErrorWindow();
        ports_.pump.DoEvents();
        Log(t::kErrorsReported);
        if (errorCount >= 1)
            ports_.notifications.PlaySiteFailureSound(errorCount);
    }

    SetEditingEnabled(true);
    f_.webCount.SetText(std::to_string(siteCount));
    f_.Status.SetText(std::to_string(errorCount) + "/" + f_.webCount.Text() + t::kOffline);
    if (f_.autoSaveReports.Checked())
        log_.SaveCycleReport();
    if (f_.FreqEnable.Checked())
        ports_.notifications.WriteFrequencyFiles();

    ports_.pump.DoEvents();
    ports_.tray.SetToolTip(t::kIdleTip);
    f_.tmrTray.SetEnabled(false);
    ports_.tray.SetIcon(f_.iconName.Caption());
    f_.SetCaption("Vigil - " + f_.version.Caption());
    f_.lblQuit.SetCaption(kIdleMarker);
    running_ = false;
}

void CheckCycle::AbortNoConnection() {
    if (f_.connection.Checked()) {
        ports_.notifications.PlayNoConnectionSound();
        ports_.notifications.ShowAlert(t::kNoConnectionAlert);
    }
    f_.tmrTray.SetEnabled(false);
    ports_.tray.SetIcon(kIconNoWeb);
    Log(t::kNoConnection);
    Log(t::kAborted);
    EndAbort();
}

void CheckCycle::AbortConnectionLost() {
    if (f_.connection.Checked()) {
        ports_.notifications.PlayNoConnectionSound();
        ports_.notifications.ShowAlert(t::kLostConnectionAlert);
        f_.ProgressBar1.SetValue(0);
    }
    f_.tmrTray.SetEnabled(false);
    ports_.tray.SetIcon(kIconNoWeb);
    Log(t::kConnectionFailure);
    Log(t::kAborted);
    EndAbort();
}

void CheckCycle::EndAbort() {
    SetEditingEnabled(true);
    if (f_.autoSaveReports.Checked())
        log_.SaveCycleReport();
    ports_.tray.SetToolTip(t::kIdleTip);
    f_.SetCaption(t::kAbortCaption);
    f_.lblQuit.SetCaption(kIdleMarker);
    running_ = false;
}

void CheckCycle::SetEditingEnabled(bool enabled) {
    f_.Command2.SetEnabled(enabled);
    f_.Command3.SetEnabled(enabled);
    f_.Schedule.SetEnabled(enabled);
    // The settings store keeps kMaxSites sites; a longer list would lose the rest at the next
    // start.
    f_.AddDomain.SetEnabled(enabled && f_.domainList.ListCount() < kMaxSites);
    f_.Command1.SetEnabled(enabled);
    f_.ispListing.SetEnabled(enabled);
}

} // namespace vigil::engine
