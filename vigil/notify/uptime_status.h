#pragma once
// The uptime window's behaviour: its drop-down mirrors the site list, and the chosen site's
// bar and figures refresh on every choice and every tick of its one-second timer.
#include "vigil/forms/windows.h"

#include <string>
#include <vector>

namespace vigil::notify {

// The width of the green part, in twips: up × (4935 / (up + down)); 0 without checks.
double UptimeBarWidth(std::int64_t up, std::int64_t down);
// "Uptime : 75% (3) - Downtime : 25% (1)"
std::string UptimeBarText(const std::string& upText, const std::string& downText);

class UptimeStatus {
public:
    // Subscribes to the drop-down's choice and the window's timer.
    UptimeStatus(forms::uptime& window, const forms::Form1& form1);
    UptimeStatus(const UptimeStatus&) = delete;
    UptimeStatus& operator=(const UptimeStatus&) = delete;

    // Empties urlDropList and fills it with the sites of domainList, in order.
    void updatelist();
    // Shows the chosen site's figures (the last frequency entry with its address); a site with
    // no frequency entry changes nothing, one without checks shows kNoStatusData and keeps the
    // bar as it was.
    void Refresh();

private:
    forms::uptime& window_;
    const forms::Form1& form1_;
    std::vector<forms::Subscription> subscriptions_; // dropped with the object
};

} // namespace vigil::notify
