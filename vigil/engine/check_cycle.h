#pragma once
// The check cycle: one pass that makes sure the computer is online, fetches every site of the
// list in order, times and classifies each, records the results, marks the sites, starts the
// notifications and, at the end, sets the result icon, plays the sound, shows the error window
// and writes the report and frequency files. It runs on the user-interface thread and lets the
// message loop run at fixed points; the disabled "Check Now" button keeps a second cycle out
// and the busy marker lblQuit keeps the program from ending meanwhile.
#include "vigil/engine/activity_log.h"
#include "vigil/engine/check_cycle_ports.h"
#include "vigil/engine/check_url.h"
#include "vigil/engine/clock_locale.h"
#include "vigil/engine/connection_flags.h"
#include "vigil/engine/dial_up_control.h"
#include "vigil/engine/dialogs.h"
#include "vigil/engine/message_pump.h"
#include "vigil/forms/windows.h"

#include <cstdint>
#include <string>

namespace vigil::engine {

// The texts of the cycle, as the user and the log see them.
namespace cycle_text {
inline constexpr const char* kEmptyList = "Domain list is empty, please add at least one domain "
                                          "to the list of sites to check";
inline constexpr const char* kBusy =
    "Vigil is busy processing another request,\r\nDo you want to cancel the previous request?";
inline constexpr const char* kInvalidTestUrl = "Invalid url for verification";
inline constexpr const char* kStarted = "Web site checking started - ";
inline constexpr const char* kCheckingConnection = "Checking Web Connection...";
inline constexpr const char* kCheckingConnectionStatus = "Checking Connection";
inline constexpr const char* kCheckingConnectionCaption = "Vigil - Checking Web Connection";
inline constexpr const char* kTriggering = "Triggering Internet Connection";
inline constexpr const char* kInitialising = "Initialising System";
inline constexpr const char* kProcessing = "Processing - ";
inline constexpr const char* kChecking = "Checking ";
inline constexpr const char* kResponse = "Website response : ";
inline constexpr const char* kSiteDown = "Web site down - ";
inline constexpr const char* kErrorPrefix = ">Error: ";
inline constexpr const char* kErrorsHeader = "Errors:";
inline constexpr const char* kVerified = "Web sites verified";
inline constexpr const char* kDisconnecting = "Disconnecting";
inline constexpr const char* kErrorsReported = "Errors reported";
inline constexpr const char* kOffline = " offline";
inline constexpr const char* kNoConnection = "No web connection available!";
inline constexpr const char* kConnectionFailure = "web connection failure!";
inline constexpr const char* kAborted = "Web site checking aborted";
inline constexpr const char* kNoConnectionAlert = "No web connection detected";
inline constexpr const char* kLostConnectionAlert =
    "Web connection failure\r\ncheck modem and/or connection";
inline constexpr const char* kIdleTip = "Vigil";
inline constexpr const char* kAbortCaption = "Vigil - Tessaly Ltd";
inline constexpr const char* kFailedDial = "Connection Failure";
} // namespace cycle_text

inline constexpr const char* kBusyMarker = "NOQUIT";
inline constexpr const char* kIdleMarker = "QUIT";

// The fixed pauses around dialling, and the longest wait for the dial-up control's outcome
// event once the pause after Connect is over. The control raises its event before Connect
// returns, so a wait that runs out means it never will (a dial of an empty phone book raises
// none): the dial then counts as failed.
inline constexpr int kDialSettleMs = 1500;
inline constexpr int kAfterDialMs = 500;
inline constexpr int kDialEventWaitMs = 30000;
inline constexpr int kDialPollMs = 10;

struct CyclePorts {
    MessagePump& pump;
    const ClockLocale& clock;
    Dialogs& dialogs;
    CheckInternetConnectionModule& connection; // IsOnline, IsLanConnection
    DialUpControl& dialUp; // its events write Settings.dialState (ConnectionModes)
    CycleTray& tray;
    CycleNotifications& notifications;
};

class CheckCycle {
public:
    // Subscribes to the "Check Now" button and to the response timer.
    CheckCycle(forms::Windows& windows, ResponseChecker& checker, ActivityLog& log,
               CyclePorts ports);
    CheckCycle(const CheckCycle&) = delete;
    CheckCycle& operator=(const CheckCycle&) = delete;

    // The "Check Now" button: empty list, interval limits, busy transfer, then a cycle.
    void Command2_Click();
    // One cycle; mode is "Now" or "Schedule" (not used). Returns at once while a cycle runs.
    void BeginCheck(const std::string& mode);

    // True from the start of a cycle to any of its ends.
    bool Running() const { return running_; }

private:
    enum class Outcome { Online, NoConnection };
    enum class Attempt { Up, Down, ConnectionLost };

    Outcome ConnectionPhase(const std::string& testAddress, int& retries);
    bool DecideOnline(const std::string& testAddress);
    void SetUpProxies();
    Attempt CheckSite(const std::string& address, const std::string& testAddress, int& retries,
                      std::string& verdict);
    void Dial();
    void SiteDown(int position, const std::string& address, const std::string& verdict);
    void SiteUp(int position, const std::string& address, const std::string& verdict);
    void FinishCycle(int siteCount, bool anyDown);
    void AbortNoConnection();
    void AbortConnectionLost();
    void EndAbort();
    void SetEditingEnabled(bool enabled);
    void StartTiming();
    void StopTiming();
    void Log(const std::string& line) { log_.WriteLog(line); }

    forms::Windows& windows_;
    forms::Form1& f_;
    ResponseChecker& checker_;
    ActivityLog& log_;
    CyclePorts ports_;
    bool running_ = false;
    std::int64_t timingStart_ = 0;
    forms::Subscription checkNowClick_;
    forms::Subscription responseTick_;
};

} // namespace vigil::engine
