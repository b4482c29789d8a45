#include "vigil/notify/uptime_status.h"

#include "vigil/notify/frequency_data.h"

namespace vigil::notify {

double UptimeBarWidth(std::int64_t up, std::int64_t down) {
    // In floating point, so two huge counts cannot overflow their sum.
    const double total = static_cast<double>(up) + static_cast<double>(down);
    return total <= 0 ? 0 : static_cast<double>(up) * (forms::kUptimeBarTwips / total);
}

std::string UptimeBarText(const std::string& upText, const std::string& downText) {
    const SiteShares s = SharesOf(upText, downText);
    if (!s.HasData())
        return kNoStatusData;
    return "Uptime : " + std::to_string(s.upPercent) + "% (" + std::to_string(s.up) +
           ") - Downtime : " + std::to_string(s.downPercent) + "% (" + std::to_string(s.down) + ")";
}

UptimeStatus::UptimeStatus(forms::uptime& window, const forms::Form1& form1)
    : window_(window), form1_(form1) {
    subscriptions_.push_back(window_.urlDropList.Click.Subscribe([this] { Refresh(); }));
    subscriptions_.push_back(window_.Timer1.Elapsed.Subscribe([this] { Refresh(); }));
}

void UptimeStatus::updatelist() {
    window_.urlDropList.Clear();
    for (const std::string& site : form1_.domainList.Items())
        window_.urlDropList.AddItem(site);
}

void UptimeStatus::Refresh() {
    const std::string& chosen = window_.urlDropList.Text();
    const std::vector<std::string>& addresses = form1_.urlList.Items();
    int found = -1;
    for (int i = static_cast<int>(addresses.size()) - 1; i >= 0; --i) {
        if (addresses[static_cast<std::size_t>(i)] == chosen) {
            found = i;
            break;
        }
    }
    if (found < 0)
        return;
    const std::string up = form1_.uptimeList.List(found);
    const std::string down = form1_.downTimeList.List(found);
    const SiteShares s = SharesOf(up, down);
    if (s.HasData())
        window_.uptimeBar.SetWidth(UptimeBarWidth(s.up, s.down));
    window_.barText.SetCaption(UptimeBarText(up, down));
}

} // namespace vigil::notify
