#include "vigil/shell/schedule.h"

#include "vigil/engine/interval_fields.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace vigil::shell {

using engine::FieldNumber;
using engine::IntervalMinutes;

std::string CountdownCaption(const std::string& nextCheck) {
    return "Next Check is in : " + nextCheck + " minute(s)";
}

void ApplyScheduleLimits(forms::Form1& f) {
    const double minutes = FieldNumber(f.intervalMins.Text()).value_or(0);
    if (minutes > 59)
        f.intervalMins.SetText("59");
    if (!(FieldNumber(f.intervalMins.Text()).value_or(0) > 0))
        f.intervalMins.SetText("1");
    const std::optional<double> hours = FieldNumber(f.intervalHours.Text());
    if (hours && *hours > 24)
        f.intervalHours.SetText("24");
    if (!hours || *hours < 0)
        f.intervalHours.SetText("0");
}

Scheduler::Scheduler(forms::Form1& form1, std::function<void(const std::string&)> beginCheck,
                     std::function<void()> save)
    : form1_(form1), beginCheck_(std::move(beginCheck)), save_(std::move(save)) {
    start_ = form1_.Schedule.Clicked.Subscribe([this] { Schedule_Click(); });
    stop_ = form1_.Command3.Clicked.Subscribe([this] { Command3_Click(); });
    apply_ = form1_.ApplySch.Clicked.Subscribe([this] { ApplySch_Click(); });
    tick_ = form1_.Timer1.Elapsed.Subscribe([this] { Timer1_Timer(); });
    startOption_ = form1_.startschedule.Clicked.Subscribe([this] {
        if (save_)
            save_();
    });
}

void Scheduler::SetCountdown(int minutes) {
    form1_.nextCheck.SetText(std::to_string(minutes));
    form1_.NextCK.SetCaption(CountdownCaption(form1_.nextCheck.Text()));
}

void Scheduler::Schedule_Click() {
    ApplyScheduleLimits(form1_);
    SetCountdown(IntervalMinutes(form1_));
    form1_.Timer1.SetEnabled(true);
    form1_.Command3.SetEnabled(true);
    form1_.Schedule.SetEnabled(false);
}

void Scheduler::ApplySch_Click() {
    for (auto [field, fallback] :
         {std::pair{&form1_.intervalMins, "5"}, std::pair{&form1_.intervalHours, "0"}}) {
        if (field->Text() == "Error" || field->Text().empty())
            field->SetText(fallback);
    }
    ApplyScheduleLimits(form1_);
    SetCountdown(IntervalMinutes(form1_));
}

void Scheduler::Timer1_Timer() {
    // The countdown's whole part; a countdown without a number counts as 0, so the check
    // comes at this tick.
    const double left =
        std::clamp(std::floor(FieldNumber(form1_.nextCheck.Text()).value_or(0)), -32767.0, 32768.0);
    const int next = static_cast<int>(left) - 1;
    SetCountdown(next);
    if (next > 0)
        return;
    // Reset before the check runs, from the fields as they stand now (no limits), so the
    // caption shows the full interval during the check.
    SetCountdown(IntervalMinutes(form1_));
    if (beginCheck_)
        beginCheck_(kScheduledMode);
}

void Scheduler::Command3_Click() {
    form1_.Timer1.SetEnabled(false);
    form1_.Command3.SetEnabled(false);
    form1_.Schedule.SetEnabled(true);
    form1_.NextCK.SetCaption(kManualChecking);
    form1_.nextCheck.SetText({});
}

void Scheduler::StartOnLoad() {
    const int option = form1_.startschedule.Value();
    if (option != 1 && option != -1)
        return;
    form1_.Timer1.SetEnabled(true);
    form1_.Schedule.SetEnabled(false);
    SetCountdown(IntervalMinutes(form1_));
}

} // namespace vigil::shell
