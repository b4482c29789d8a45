#include "vigil/engine/site_list.h"

#include "vigil/engine/notification_sets.h"

namespace vigil::engine {

std::string RowTextOf(const std::string& address) {
    static const std::string prefix = "http://";
    std::string text;
    text.reserve(address.size());
    for (std::size_t i = 0; i < address.size();) {
        if (address.compare(i, prefix.size(), prefix) == 0) {
            i += prefix.size();
        } else {
            text += address[i++];
        }
    }
    return text;
}

SiteList::SiteList(forms::Windows& windows, std::function<void()> save)
    : windows_(windows), save_(std::move(save)) {}

void SiteList::BindButtons() {
    windows_.form1.AddDomain.Clicked.Add([this] { AddDomain_Click(); });
    windows_.form1.Command1.Clicked.Add([this] { Command1_Click(); });
}

void SiteList::AddDomain_Click() {
    auto& f = windows_.form1;
    const std::string address = f.domainToAdd.Text();
    if (address == "ViewInternal") {
        windows_.settings.Show();
        f.domainToAdd.SetText("http://");
        return;
    }
    f.domainList.AddItem(address);
    AppendRow(address);
    f.urlList.AddItem(address);
    f.uptimeList.AddItem("0");
    f.downTimeList.AddItem("0");
    f.emailList1.AddItem("");
    f.emailList2.AddItem("");
    SetAdd(f.emailChecksOK, address);
    windows_.uptimeWindow.urlDropList.AddItem(address);
    windows_.emailer.cboSiteList.AddItem(address);
    SetColumnWidths();
    if (Count() == kMaxSites)
        f.AddDomain.SetEnabled(false);
    WriteCount();
    if (save_)
        save_();
}

void SiteList::Command1_Click() {
    auto& f = windows_.form1;
    // Nothing selected means row 0, position -1: every removal below then fails and is
    // ignored, and only the count and the save remain.
    const int row = f.ListView1.SelectedRow();
    const int position = row - 1;
    f.urlList.RemoveItem(position);
    f.uptimeList.RemoveItem(position);
    f.downTimeList.RemoveItem(position);
    f.emailList1.RemoveItem(position);
    f.emailList2.RemoveItem(position);
    windows_.emailer.cboSiteList.RemoveItem(position);
    windows_.uptimeWindow.urlDropList.RemoveItem(position);
    f.domainList.RemoveItem(position);
    f.ListView1.RemoveRow(row);
    SetColumnWidths();
    if (Count() < kMaxSites)
        f.AddDomain.SetEnabled(true);
    WriteCount();
    if (save_)
        save_();
}

void SiteList::AppendLoadedSite(const std::string& address, const std::string& email1,
                                const std::string& email2) {
    auto& f = windows_.form1;
    f.domainList.AddItem(address);
    SetAdd(f.emailChecksOK, address);
    windows_.emailer.cboSiteList.AddItem(address);
    windows_.uptimeWindow.urlDropList.AddItem(address);
    AppendRow(address);
    SetColumnWidths();
    f.emailList1.AddItem(email1);
    f.emailList2.AddItem(email2);
}

void SiteList::FinishLoad() {
    SetColumnWidths();
    WriteCount();
}

void SiteList::AppendRow(const std::string& address) {
    auto& view = windows_.form1.ListView1;
    int row = view.AddRow(RowTextOf(address));
    view.SetSubItem(row, 1, "?");
}

void SiteList::SetColumnWidths() {
    auto& view = windows_.form1.ListView1;
    view.SetColumnWidth(1, kDomainColumnWidth);
    view.SetColumnWidth(2, kStatusColumnWidth);
}

void SiteList::WriteCount() {
    windows_.form1.webCount.SetText(std::to_string(Count()));
}

} // namespace vigil::engine
