// SaveSettings through the advapi32 store into the real registry, checked value by value with
// the platform's own calls, then LoadSettings from it into fresh windows.
#include "tests/shell/registry_wine.h"
#include "vigil/shell/registry_layout.h"
#include "vigil/shell/settings_store.h"
#include "vigil/shell/win32/advapi32_registry_store.h"
#include "vigil/shell/win32/win32_screen_metrics.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using namespace registry_test;
using vigil::shell::SettingsStore;
using vigil::shell::win32::Advapi32RegistryStore;
using vigil::shell::win32::Win32ScreenMetrics;

// The store's keys live below a root of this test's own, so the program's settings in the
// shared prefix (other tests run Vigil.exe) neither disturb nor are disturbed by the test.
const std::string kRoot = "Software\\Vigil Settings Wine Test";
const std::string kSettings = kRoot + "\\" + vigil::shell::kSettingsKey;

void FillWindows(vigil::forms::Windows& w) {
    auto& f = w.form1;
    f.connection.SetValue(1);
    f.connectionUrl.SetText("http://127.0.0.1:8080/probe");
    f.SoundToPlay1.SetText("C:\\Sounds\\one.wav");
    f.SoundToPlay2.SetText("two.wav");
    f.SoundToPlay3.SetText("three.wav");
    f.noConSound.SetText("C:\\Program Files\\Vigil\\none.wav");
    f.exReport.SetValue(1);
    f.startschedule.SetValue(1);
    f.intervalMins.SetText("25");
    f.intervalHours.SetText("3");
    f.errorWin.SetValue(0);
    w.emailer.EmailAddress.SetText("ops@example.com");
    w.emailer.emailNotify.SetText(vigil::forms::kVigilEmailer);
    f.chkTriggerCon.SetValue(1);
    f.Slider1.SetValue(1);
    f.dialRetrys.SetText("1");
    f.monWeb.SetValue(1);
    f.DialUpDisconnect.SetValue(1);
    w.emailer.smtpServer.SetText("mail.example.com");
    f.startmin.SetValue(1);
    f.htmlEmail.SetValue(1);
    f.uptimeEmail.SetValue(1);
    f.emailOnline.SetValue(1);
    f.autoSaveReports.SetValue(0);
    f.FreqEnable.SetValue(1);
    f.SetPlace({600, 300, 9000, 7000});
    f.dialType.SetText(vigil::forms::kDialUpConnection);
    f.ispListing.SetText("Office ISP");
    f.proxyIP.SetText("10.1.2.3");
    f.proxyPort.SetText("3128");
    for (int n = 0; n < 100; ++n) {
        f.domainList.AddItem("http://site" + std::to_string(n) + ".example/");
        f.emailList1.AddItem(n % 3 ? "one" + std::to_string(n) + "@example.com" : "");
        f.emailList2.AddItem("two" + std::to_string(n) + "@example.com");
    }
}

class SettingsStoreWine : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteKeyTree(kRoot);
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRoot.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &root_, nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        if (root_)
            RegCloseKey(root_);
        DeleteKeyTree(kRoot);
    }
    HKEY root_ = nullptr;
    Win32ScreenMetrics screen_;
};

TEST_F(SettingsStoreWine, SaveWritesEveryValueThenLoadBringsItBack) {
    Advapi32RegistryStore registry(root_);
    vigil::forms::Windows first;
    SettingsStore store(first, registry, screen_);
    FillWindows(first);
    store.SaveSettings();

    const std::vector<std::pair<std::string, std::string>> options = {
        {"WarnNoConnection", "1"},
        {"connectionUrl", "http://127.0.0.1:8080/probe"},
        {"SoundToPlay1", "C:\\Sounds\\one.wav"},
        {"SoundToPlay2", "two.wav"},
        {"SoundToPlay3", "three.wav"},
        {"noConSound", "C:\\Program Files\\Vigil\\none.wav"},
        {"exReport", "1"},
        {"startSchedule", "1"},
        {"intervalMins", "25"},
        {"intervalHours", "3"},
        {"errorWin", "0"},
        {"emailAddress", "ops@example.com"},
        {"emailNotify", "Vigil Emailer"},
        {"TriggerCon", "1"},
        {"dialRetrys", "1"},
        {"monWeb", "1"},
        {"Disconnect", "1"},
        {"smtpserver", "mail.example.com"},
        {"startMin", "1"},
        {"htmlEmail", "1"},
        {"uptimeEmail", "1"},
        {"Emailonline", "1"},
        {"AutoReport", "0"},
        {"FrequencyRec", "1"},
        {"top", "300"},
        {"left", "600"},
        {"dialType", "Dial-Up Connection"},
        {"ispListing", "Office ISP"},
        {"proxyIP", "10.1.2.3"},
        {"proxyPort", "3128"},
        {"HttpStatusCheck", "0"},
    };
    std::vector<std::pair<std::string, std::string>> expected = options;
    for (int n = 0; n <= 100; ++n) {
        const std::string slot = std::to_string(n);
        expected.emplace_back("WebSite" + slot, first.form1.domainList.List(n));
        expected.emplace_back("Email1-" + slot, first.form1.emailList1.List(n));
        expected.emplace_back("Email2-" + slot, first.form1.emailList2.List(n));
    }
    expected.emplace_back("WebSiteCount", "100");
    EXPECT_EQ(expected[expected.size() - 4].second, "") << "slot 100 is written empty";

    RawKey key = ReadRawKey(kSettings);
    ASSERT_TRUE(key.exists);
    EXPECT_EQ(key.values.size(), expected.size());
    for (const auto& [name, text] : expected) {
        SCOPED_TRACE(name);
        RawValue raw;
        ASSERT_TRUE(QueryRaw(kSettings, name, raw));
        EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(raw.data, text);
        // The name is stored as written, not only found without regard to case.
        EXPECT_EQ(key.values[Lower(name)].name, name);
    }

    vigil::forms::Windows second;
    SettingsStore reload(second, registry, screen_);
    reload.LoadSettings();
    const auto& a = first.form1;
    const auto& b = second.form1;
    EXPECT_EQ(b.domainList.Items(), a.domainList.Items());
    EXPECT_EQ(b.emailList1.Items(), a.emailList1.Items());
    EXPECT_EQ(b.emailList2.Items(), a.emailList2.Items());
    EXPECT_EQ(b.emailChecksOK.Items(), a.domainList.Items());
    EXPECT_EQ(second.emailer.cboSiteList.Items(), a.domainList.Items());
    EXPECT_EQ(second.uptimeWindow.urlDropList.Items(), a.domainList.Items());
    EXPECT_EQ(b.ListView1.RowCount(), 100);
    EXPECT_EQ(b.webCount.Text(), "100");
    const std::pair<const vigil::forms::CheckBox*, const vigil::forms::CheckBox*> boxes[] = {
        {&a.connection, &b.connection},
        {&a.exReport, &b.exReport},
        {&a.startschedule, &b.startschedule},
        {&a.errorWin, &b.errorWin},
        {&a.chkTriggerCon, &b.chkTriggerCon},
        {&a.monWeb, &b.monWeb},
        {&a.DialUpDisconnect, &b.DialUpDisconnect},
        {&a.startmin, &b.startmin},
        {&a.htmlEmail, &b.htmlEmail},
        {&a.uptimeEmail, &b.uptimeEmail},
        {&a.emailOnline, &b.emailOnline},
        {&a.autoSaveReports, &b.autoSaveReports},
        {&a.FreqEnable, &b.FreqEnable}};
    for (auto [before, after] : boxes)
        EXPECT_EQ(after->Value(), before->Value()) << before->Name();
    const std::pair<const vigil::forms::TextBox*, const vigil::forms::TextBox*> texts[] = {
        {&a.connectionUrl, &b.connectionUrl},
        {&a.SoundToPlay1, &b.SoundToPlay1},
        {&a.SoundToPlay2, &b.SoundToPlay2},
        {&a.SoundToPlay3, &b.SoundToPlay3},
        {&a.noConSound, &b.noConSound},
        {&a.intervalMins, &b.intervalMins},
        {&a.intervalHours, &b.intervalHours},
        {&a.dialRetrys, &b.dialRetrys},
        {&a.proxyIP, &b.proxyIP},
        {&a.proxyPort, &b.proxyPort},
        {&first.emailer.EmailAddress, &second.emailer.EmailAddress},
        {&first.emailer.smtpServer, &second.emailer.smtpServer}};
    for (auto [before, after] : texts)
        EXPECT_EQ(after->Text(), before->Text()) << before->Name();
    EXPECT_EQ(b.Slider1.Value(), 1);
    EXPECT_EQ(b.dialType.Text(), a.dialType.Text());
    EXPECT_EQ(b.ispListing.Text(), "Office ISP");
    EXPECT_EQ(second.settings.dialUpConnection.Text(), "Office ISP");
    EXPECT_EQ(second.emailer.emailNotify.Text(), "Vigil Emailer");
    EXPECT_TRUE(b.frmDialup.Visible());
    EXPECT_FALSE(b.frmIE.Visible());
    EXPECT_EQ(b.Place().top, 300);
    EXPECT_EQ(b.Place().left, 600);
    EXPECT_EQ(b.buffer.Text(), "");
}

TEST_F(SettingsStoreWine, AMinimisedWindowKeepsTheStoredPosition) {
    Advapi32RegistryStore registry(root_);
    vigil::forms::Windows w;
    SettingsStore store(w, registry, screen_);
    w.form1.SetPlace({450, 150, 0, 0});
    store.SaveSettings();
    w.form1.SetPlace({-48000, -48000, 0, 0}); // where the system puts a minimised window
    store.SaveSettings();
    RawValue top, left;
    ASSERT_TRUE(QueryRaw(kSettings, "top", top));
    ASSERT_TRUE(QueryRaw(kSettings, "left", left));
    EXPECT_EQ(top.data, "150");
    EXPECT_EQ(left.data, "450");
}

TEST_F(SettingsStoreWine, TheRunEntryIsBuiltFromTheInstallersPath) {
    Advapi32RegistryStore registry(root_);
    vigil::forms::Windows w;
    SettingsStore store(w, registry, screen_);
    const std::string run = kRoot + "\\" + vigil::shell::kRunKey;
    HKEY key = nullptr;
    for (const std::string& path : {kRoot + "\\" + vigil::shell::kLocaleKey, run}) {
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        if (path != run) {
            const char data[] = "C:\\Program Files\\Vigil\\x";
            RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                           sizeof data);
        }
        RegCloseKey(key);
    }
    ASSERT_TRUE(store.AddRunEntry());
    RawValue value;
    ASSERT_TRUE(QueryRaw(run, "Vigil", value));
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(value.data, "C:\\Program Files\\Vigil\\Vigil.EXE");
    EXPECT_EQ(store.ReadRunEntry("vigil"), value.data);
    store.RemoveRunEntry("C:\\Program Files\\Vigil\\Vigil.exe");
    EXPECT_FALSE(QueryRaw(run, "Vigil", value));
    EXPECT_EQ(store.ReadRunEntry("Vigil"), "");
}

} // namespace
