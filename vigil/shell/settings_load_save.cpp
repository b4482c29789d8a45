// LoadSettings and SaveSettings: the whole set between the registry and the controls.
#include "vigil/engine/notification_sets.h"
#include "vigil/engine/site_list.h"
#include "vigil/shell/registry_layout.h"
#include "vigil/shell/settings_store.h"
#include "vigil/shell/settings_text.h"

#include <exception>
#include <functional>

namespace vigil::shell {
namespace {

constexpr const char* kDefaultSound = "alarm.wav";

std::string StateText(const forms::CheckBox& box) {
    return std::to_string(box.Value());
}

// A check box takes 0 or 1 (a number rounded to whole); anything else leaves it as it was.
void ApplyState(forms::CheckBox& box, const std::string& text) {
    auto number = ParseNumber(text);
    if (!number)
        return;
    if (auto state = RoundedWithin(*number, 0, 1))
        box.SetValue(static_cast<int>(*state));
}

// One step of the load: whatever goes wrong in it, the load goes on with the next.
void Step(const std::function<void()>& step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

} // namespace

void SettingsStore::SaveSettings() {
    auto& f = windows_.form1;
    auto& e = windows_.emailer;
    if (f.buffer.Text() == kImporting)
        return;
    // One open of the key for the whole save; the values are the same as WriteSetting's.
    auto key = registry_.OpenForWriting(kSettingsKey);
    if (!key)
        return;
    auto write = [&key](const std::string& name, const std::string& text) {
        key->Write(name, text);
    };

    write("WarnNoConnection", StateText(f.connection));
    write("connectionUrl", f.connectionUrl.Text());
    write("SoundToPlay1", f.SoundToPlay1.Text());
    write("SoundToPlay2", f.SoundToPlay2.Text());
    write("SoundToPlay3", f.SoundToPlay3.Text());
    write("noConSound", f.noConSound.Text());
    write("exReport", StateText(f.exReport));
    write("startSchedule", StateText(f.startschedule));
    write("intervalMins", f.intervalMins.Text());
    write("intervalHours", f.intervalHours.Text());
    write("errorWin", StateText(f.errorWin));
    write("emailAddress", e.EmailAddress.Text());
    write("emailNotify", e.emailNotify.Text());
    write("TriggerCon", StateText(f.chkTriggerCon));
    write("dialRetrys", std::to_string(f.Slider1.Value()));
    write("monWeb", StateText(f.monWeb));
    write("Disconnect", StateText(f.DialUpDisconnect));
    write("smtpserver", e.smtpServer.Text());
    write("startMin", StateText(f.startmin));
    write("htmlEmail", StateText(f.htmlEmail));
    write("uptimeEmail", StateText(f.uptimeEmail));
    write("Emailonline", StateText(f.emailOnline));
    write("AutoReport", StateText(f.autoSaveReports));
    write("FrequencyRec", StateText(f.FreqEnable));
    // A minimised window sits far off the screen; its place is not worth keeping.
    if (f.Place().top > -100)
        write("top", SingleText(f.Place().top));
    if (f.Place().left > -100)
        write("left", SingleText(f.Place().left));
    write("dialType", f.dialType.Text());
    write("ispListing", f.ispListing.Text());
    write("proxyIP", f.proxyIP.Text());
    write("proxyPort", f.proxyPort.Text());

    for (int n = 0; n < kSiteSlots; ++n) {
        const std::string slot = std::to_string(n);
        write("WebSite" + slot, f.domainList.List(n));
        write("Email1-" + slot, f.emailList1.List(n));
        write("Email2-" + slot, f.emailList2.List(n));
    }
    write("WebSiteCount", std::to_string(f.domainList.ListCount()));
    // Values added after the first release go last, so every earlier one keeps its place.
    write("HttpStatusCheck", StateText(f.chkHttpStatus));
}

void SettingsStore::LoadSettings() {
    auto& f = windows_.form1;
    // Loading raises the controls' change events, whose handlers save; the flag makes those
    // saves do nothing, so a half-loaded set is never written.
    f.buffer.SetText(kImporting);
    Step([&] { f.domainList.Clear(); });
    Step([&] { LoadSites(); });
    Step([&] {
        f.webCount.SetText(std::to_string(f.domainList.ListCount()));
        if (f.webCount.Text() == "0") {
            AppendSite(kVendorHomePage, "", "");
            f.webCount.SetText(std::to_string(f.domainList.ListCount()));
        }
    });
    LoadOptions();
    f.buffer.SetText("");
}

void SettingsStore::AppendSite(const std::string& address, const std::string& email1,
                               const std::string& email2) {
    auto& f = windows_.form1;
    f.domainList.AddItem(address);
    engine::SetAdd(f.emailChecksOK, address);
    int row = f.ListView1.AddRow(engine::RowTextOf(address));
    f.ListView1.SetSubItem(row, 1, "?");
    f.ListView1.SetColumnWidth(1, engine::kDomainColumnWidth);
    f.ListView1.SetColumnWidth(2, engine::kStatusColumnWidth);
    // A stored address that can't be read adds nothing to its list.
    if (email1 != kReadError)
        f.emailList1.AddItem(email1);
    if (email2 != kReadError)
        f.emailList2.AddItem(email2);
    windows_.emailer.cboSiteList.AddItem(address);
    windows_.uptimeWindow.urlDropList.AddItem(address);
}

void SettingsStore::LoadSites() {
    auto count = ParseNumber(ReadSetting("WebSiteCount"));
    if (!count)
        return;
    // A save writes slots 0 to 100 only; a larger count names values no save wrote, so it
    // stops at the last slot instead of reading thousands of absent values.
    const double last = *count - 1;
    for (int n = 0; n < kSiteSlots && n <= last; ++n) {
        const std::string slot = std::to_string(n);
        std::string site = ReadSetting("WebSite" + slot);
        std::string email1 = ReadSetting("Email1-" + slot);
        std::string email2 = ReadSetting("Email2-" + slot);
        if (site == kReadError)
            continue;
        Step([&] { AppendSite(site, email1, email2); });
    }
}

void SettingsStore::LoadOptions() {
    auto& f = windows_.form1;
    auto& e = windows_.emailer;
    auto state = [this](forms::CheckBox& box, const char* name) {
        Step([&] { ApplyState(box, ReadSetting(name)); });
    };
    auto stateOr = [this](forms::CheckBox& box, const char* name, const char* fallback) {
        Step([&] { ApplyState(box, WithDefaultState(ReadSetting(name), fallback)); });
    };
    auto text = [this](auto& field, const char* name, const char* fallback) {
        Step([&] { field.SetText(WithDefaultText(ReadSetting(name), fallback)); });
    };

    state(f.connection, "WarnNoConnection");
    text(f.connectionUrl, "ConnectionURL", forms::kDefaultConnectionUrl);
    text(f.SoundToPlay1, "SoundToPlay1", kDefaultSound);
    text(f.SoundToPlay2, "SoundToPlay2", kDefaultSound);
    text(f.SoundToPlay3, "SoundToPlay3", kDefaultSound);
    text(f.noConSound, "noConSound", kDefaultSound);
    state(f.exReport, "exReport");
    Step([&] {
        // The box shows whether the log-on entry exists; the load never unchecks it.
        if (!ReadRunEntry(kRunValue).empty())
            f.windowsStart.SetValue(1);
    });
    state(f.monWeb, "monWeb");
    state(f.chkTriggerCon, "TriggerCon");
    Step([&] {
        std::string retries = ReadSetting("dialRetrys");
        auto number = ParseNumber(retries);
        auto position =
            number ? RoundedWithin(*number, f.Slider1.Min(), f.Slider1.Max()) : std::nullopt;
        if (position)
            f.Slider1.SetValue(static_cast<int>(*position));
        // The mirror shows what the slider holds, also when the stored text was refused.
        f.dialRetrys.SetText(position ? retries : std::to_string(f.Slider1.Value()));
    });
    state(f.startschedule, "startSchedule");
    stateOr(f.errorWin, "errorWin", "1");
    Step([&] { f.intervalMins.SetText(ReadSetting("intervalMins")); });
    Step([&] { f.intervalHours.SetText(ReadSetting("intervalHours")); });
    text(e.EmailAddress, "emailAddress", "Email Address");
    stateOr(f.startmin, "startMin", "0");
    stateOr(f.htmlEmail, "HTMLEmail", "0");
    stateOr(f.FreqEnable, "FrequencyRec", "0");
    stateOr(f.uptimeEmail, "uptimeEmail", "0");
    stateOr(f.emailOnline, "Emailonline", "0");
    stateOr(f.DialUpDisconnect, "disconnect", "0");
    stateOr(f.autoSaveReports, "AutoReport", "1");
    Step([&] { ApplyPosition("top", true); });
    Step([&] { ApplyPosition("left", false); });
    text(e.emailNotify, "emailNotify", forms::kEmailNone);
    text(f.dialType, "dialType", forms::kIeDefault);
    Step([&] { ShowConnectionFrame(); });
    Step([&] {
        f.ispListing.SetText(WithDefaultText(ReadSetting("ispListing"), ""));
        windows_.settings.dialUpConnection.SetText(f.ispListing.Text());
    });
    text(f.proxyIP, "ProxyIP", "127.0.0.1");
    text(f.proxyPort, "ProxyPort", "80");
    text(e.smtpServer, "smtpserver", "");
    state(f.chkHttpStatus, "HttpStatusCheck"); // absent: unchecked, the body alone decides
}

void SettingsStore::ApplyPosition(const std::string& name, bool top) {
    auto& f = windows_.form1;
    auto number = ParseNumber(WithDefaultState(ReadSetting(name), "0"));
    if (!number)
        return; // not a number: the window stays where it is
    double value = *number;
    if (value < 0)
        value = 0;
    if (value > (top ? screen_.HeightTwips() : screen_.WidthTwips()))
        value = 0;
    forms::Bounds place = f.Place();
    (top ? place.top : place.left) = value;
    f.SetPlace(place);
}

void SettingsStore::ShowConnectionFrame() {
    auto& f = windows_.form1;
    const std::string& type = f.dialType.Text();
    forms::Frame* shown = type == forms::kDialUpConnection ? &f.frmDialup
                          : type == forms::kProxyLan       ? &f.frmProxy
                          : type == forms::kIeDefault      ? &f.frmIE
                                                           : nullptr;
    if (!shown)
        return;
    for (forms::Frame* frame : {&f.frmDialup, &f.frmProxy, &f.frmIE})
        frame->SetVisible(frame == shown);
}

} // namespace vigil::shell
