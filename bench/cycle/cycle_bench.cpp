// Times whole check cycles of 100 sites whose pages arrive at once, so what is measured is
// Vigil's own work per site: log lines, list view marks, captions, counters and message pump
// calls. Goal: at most 1 ms per site.
//
//   build/win64: bash tools/wine-run.sh build/win64/bench/cycle/vigil_cycle_bench.exe
//   build/host:  build/host/bench/cycle/vigil_cycle_bench
//
// On Windows the clock, locale and message pump are the system's, and a second run has the
// main and report windows bound to real controls; on the host the forms are headless.
#include "vigil/engine/activity_log.h"
#include "vigil/engine/check_cycle.h"
#include "vigil/engine/site_list.h"
#include "vigil/forms/windows.h"

#ifdef _WIN32
#include "vigil/engine/win32/win32_clock_locale.h"
#include "vigil/engine/win32/win32_message_pump.h"
#include "vigil/shell/win32/main_window.h"
#include "vigil/shell/win32/report_window.h"
#endif

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

using namespace vigil;
using namespace vigil::engine;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kSites = 100;
constexpr int kRuns = 20;

#ifdef _WIN32
using BenchLocale = win32::Win32ClockLocale;
using BenchPump = win32::Win32MessagePump;
#else
class BenchLocale : public ClockLocale {
public:
    LocalTime Now() const override { return {2026, 7, 12, 9, 0, 0}; }
    std::string ShortDate(const LocalTime&) const override { return "07/12/2026"; }
    std::string GeneralDate(const LocalTime&) const override { return "07/12/2026 09:00:00"; }
    std::string LowerCase(std::string text) const override {
        for (char& c : text)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    }
};
class BenchPump : public MessagePump {
public:
    void DoEvents() override {}
};
#endif

// The pump with a count of its calls.
class CountingPump : public MessagePump {
public:
    explicit CountingPump(MessagePump& inner) : inner_(inner) {}
    void DoEvents() override {
        ++calls;
        inner_.DoEvents();
    }
    long calls = 0;

private:
    MessagePump& inner_;
};

class InstantTransfer : public PageTransfer {
public:
    TransferResult Open(const TransferRequest&) override {
        return TransferResult::Body("<HTML><HEAD><TITLE>Home</TITLE></HEAD><BODY>Welcome to our "
                                    "site. Everything is fine.</BODY></HTML>");
    }
    bool StillExecuting() const override { return false; }
    void Cancel() override {}
};

class NullFiles : public FileSystem {
public:
    std::string CurrentDirectory() const override { return "C:\\Vigil"; }
    bool WriteWholeFile(const std::string&, const std::string&) override { return true; }
};

class NoDialogs : public Dialogs {
public:
    MsgBoxResult MsgBox(const std::string&, const std::string&, MsgBoxButtons) override {
        return MsgBoxResult::Ok;
    }
};

class AlwaysOnline : public ConnectionFlags {
public:
    bool InternetGetConnectedState(std::uint32_t& flags) override {
        flags = kConnectionLan;
        return true;
    }
};

class NoDialUp : public DialUpControl {
public:
    std::vector<std::string> Connections() override { return {}; }
    int ConnectionCount() override { return 0; }
    bool Active(const std::string&) override { return false; }
    void Connect(const std::string&) override {}
    void Disconnect(const std::string&) override {}
    bool RaiseErrors() override { return false; }
    void SetRaiseErrors(bool) override {}
};

class NoTray : public CycleTray {
public:
    void SetToolTip(const std::string&) override {}
    void SetIcon(const std::string&) override {}
};

class NoNotifications : public CycleNotifications {
public:
    void SendFailureNotification(const std::string&, const std::string&) override {}
    void SendRecoveryNotification(const std::string&, const std::string&) override {}
    void PlaySiteFailureSound(int) override {}
    void PlayNoConnectionSound() override {}
    void ShowAlert(const std::string&) override {}
    void ShowErrorWindow() override {}
    void WriteFrequencyFiles() override {}
};

void BenchCycle(forms::Windows& windows, MessagePump& platformPump, const char* what) {
    BenchLocale locale;
    CountingPump pump(platformPump);
    NullFiles files;
    NoDialogs dialogs;
    InstantTransfer transfer;
    AlwaysOnline flags;
    CheckInternetConnectionModule connection(flags);
    NoDialUp dialUp;
    NoTray tray;
    NoNotifications notifications;
    windows.form1.Inet1.Attach(&transfer);
    windows.form1.Inet2.Attach(&transfer);

    SiteList sites(windows, {});
    for (int i = 0; i < kSites; ++i) {
        windows.form1.domainToAdd.SetText("http://www.site" + std::to_string(i) + ".example/");
        sites.AddDomain_Click();
    }
    ActivityLog log(windows.reportWindow.report, locale, files, dialogs);
    ResponseChecker checker(windows.form1, pump, locale);
    CheckCycle cycle(windows, checker, log,
                     {pump, locale, dialogs, connection, dialUp, tray, notifications});

    double best = 1e300;
    for (int run = 0; run < kRuns; ++run) {
        // Each run starts from an empty log, as after the daily roll.
        windows.reportWindow.report.SetText({});
        auto start = Clock::now();
        cycle.BeginCheck("Now");
        best =
            std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::printf("%-28s %d sites: best cycle %8.3f ms, %6.3f ms per site, %ld pump calls a "
                "cycle (%s)\n",
                what, kSites, best, best / kSites, pump.calls / kRuns,
                windows.form1.Status.Text().c_str());
}

} // namespace

int main() {
    BenchPump platformPump;
    {
        auto windows = std::make_unique<forms::Windows>();
        BenchCycle(*windows, platformPump, "headless forms");
    }
#ifdef _WIN32
    {
        auto windows = std::make_unique<forms::Windows>();
        shell::win32::ReportWindow reportWindow(windows->reportWindow, nullptr);
        BenchCycle(*windows, platformPump, "report window bound");
    }
    {
        auto windows = std::make_unique<forms::Windows>();
        shell::win32::MainWindow mainWindow(windows->form1, nullptr, [] {});
        windows->form1.Show();
        BenchCycle(*windows, platformPump, "main window bound");
    }
    {
        // The same with the main and report windows bound to real controls.
        auto windows = std::make_unique<forms::Windows>();
        shell::win32::MainWindow mainWindow(windows->form1, nullptr, [] {});
        shell::win32::ReportWindow reportWindow(windows->reportWindow, nullptr);
        windows->form1.Show();
        BenchCycle(*windows, platformPump, "bound to the windows");
    }
#endif
    return 0;
}
