#pragma once
// The schedule: a countdown of whole minutes in nextCheck, shown by NextCK, that Timer1 moves
// on once a minute while the schedule runs and that starts a check when it runs out.
// Start, Stop and Apply are the buttons of the "Schedule" page; start-up may start it too.
#include "vigil/forms/form1.h"

#include <functional>
#include <string>

namespace vigil::shell {

inline constexpr const char* kManualChecking = "Manual web site checking is enabled";
inline constexpr const char* kScheduledMode = "Schedule";

// "Next Check is in : " + the countdown + " minute(s)".
std::string CountdownCaption(const std::string& nextCheck);

// The limits of Start and Apply, in this order: minutes above 59 become "59", minutes not
// above 0 "1", hours above 24 "24", hours below 0 "0". A field without a number (the user may
// delete every digit) is read as 0: empty minutes become "1" and empty hours "0".
void ApplyScheduleLimits(forms::Form1& form1);

class Scheduler {
public:
    // beginCheck: the check cycle's entry, given the mode "Schedule". save: the full settings
    // save that follows a click on startschedule.
    Scheduler(forms::Form1& form1, std::function<void(const std::string&)> beginCheck,
              std::function<void()> save);
    Scheduler(const Scheduler&) = delete;
    Scheduler& operator=(const Scheduler&) = delete;

    void Schedule_Click(); // Start
    void Command3_Click(); // Stop
    void ApplySch_Click(); // Apply
    void Timer1_Timer();   // one minute
    // Start-up, after the settings and the fields' fallbacks are in: starts the schedule when
    // startschedule reads 1 or -1, from the fields as they stand (no limits).
    void StartOnLoad();

    bool Running() const { return form1_.Timer1.Enabled(); }

private:
    void SetCountdown(int minutes);

    forms::Form1& form1_;
    std::function<void(const std::string&)> beginCheck_;
    std::function<void()> save_;
    forms::Subscription start_, stop_, apply_, tick_, startOption_;
};

} // namespace vigil::shell
