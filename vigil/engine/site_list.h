#pragma once
// The ordered list of monitored sites, kept in the main window's controls: adding, removing
// and loading a site keep every per-site list, the list view rows and the two mirrors at the
// same positions.
#include "vigil/forms/windows.h"

#include <functional>
#include <string>

namespace vigil::engine {

inline constexpr int kMaxSites = 100;
inline constexpr double kDomainColumnWidth = 142.98;
inline constexpr double kStatusColumnWidth = 34.99843;

class SiteList {
public:
    // save: the full settings save that follows every change made by the user.
    SiteList(forms::Windows& windows, std::function<void()> save);

    // Wires the "Add URL" and "Remove URL" buttons to AddDomain_Click and Command1_Click.
    void BindButtons();

    void AddDomain_Click();
    void Command1_Click();

    // Appends one stored site while the settings load; no save, no limit check.
    void AppendLoadedSite(const std::string& address, const std::string& email1,
                          const std::string& email2);
    // Ends a load: column widths and the counter.
    void FinishLoad();

    int Count() const { return windows_.form1.domainList.ListCount(); }

private:
    void SetColumnWidths();
    void WriteCount();
    void AppendRow(const std::string& address);

    forms::Windows& windows_;
    std::function<void()> save_;
};

// The list view text of an address: every "http://" removed (case-sensitive).
std::string RowTextOf(const std::string& address);

} // namespace vigil::engine
