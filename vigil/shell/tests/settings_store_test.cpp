#include "vigil/engine/notification_sets.h"
#include "vigil/shell/registry_layout.h"
#include "vigil/shell/settings_store.h"
#include "vigil/shell/tests/fake_registry_store.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vigil::shell {
namespace {

using fakes::RegistryStoreFake;

constexpr double kScreenWidth = 1024 * 15;
constexpr double kScreenHeight = 768 * 15;

class FixedScreen : public ScreenMetrics {
public:
    double WidthTwips() const override { return kScreenWidth; }
    double HeightTwips() const override { return kScreenHeight; }
};

// One run of the program: its windows and its store over a registry that outlives it.
struct Session {
    explicit Session(RegistryStoreFake& registry) : store(windows, registry, screen) {}
    forms::Windows windows;
    FixedScreen screen;
    SettingsStore store;
    forms::Form1& f = windows.form1;
    forms::VigilEmailer& e = windows.emailer;
};

// A setting as the user sees it: how to read its control as text, and a value other than
// both its design state and its default.
struct Option {
    const char* written;
    std::function<std::string(Session&)> get;
    std::function<void(Session&)> set;
    const char* storedText; // what set() makes the save write
};

std::string State(const forms::CheckBox& box) {
    return std::to_string(box.Value());
}

// Every option in the order the save writes it.
std::vector<Option> Options() {
    auto box = [](const char* written, forms::CheckBox forms::Form1::*member, int other) {
        return Option{written, [member](Session& r) { return State(r.f.*member); },
                      [member, other](Session& r) { (r.f.*member).SetValue(other); },
                      other ? "1" : "0"};
    };
    auto field = [](const char* written, forms::TextBox forms::Form1::*member, const char* other) {
        return Option{written, [member](Session& r) { return (r.f.*member).Text(); },
                      [member, other](Session& r) { (r.f.*member).SetText(other); }, other};
    };
    auto combo = [](const char* written, forms::ComboBox forms::Form1::*member, const char* other) {
        return Option{written, [member](Session& r) { return (r.f.*member).Text(); },
                      [member, other](Session& r) { (r.f.*member).SetText(other); }, other};
    };
    using F = forms::Form1;
    return {
        box("WarnNoConnection", &F::connection, 1),
        field("connectionUrl", &F::connectionUrl, "http://127.0.0.1:8080/test"),
        field("SoundToPlay1", &F::SoundToPlay1, "C:\\Sounds\\one.wav"),
        field("SoundToPlay2", &F::SoundToPlay2, "C:\\Sounds\\two.wav"),
        field("SoundToPlay3", &F::SoundToPlay3, "C:\\Sounds\\three.wav"),
        field("noConSound", &F::noConSound, "C:\\Sounds\\none.wav"),
        box("exReport", &F::exReport, 1),
        box("startSchedule", &F::startschedule, 1),
        field("intervalMins", &F::intervalMins, "17"),
        field("intervalHours", &F::intervalHours, "2"),
        box("errorWin", &F::errorWin, 0),
        Option{"emailAddress", [](Session& r) { return r.e.EmailAddress.Text(); },
               [](Session& r) { r.e.EmailAddress.SetText("ops@example.com"); }, "ops@example.com"},
        Option{"emailNotify", [](Session& r) { return r.e.emailNotify.Text(); },
               [](Session& r) { r.e.emailNotify.SetText(forms::kPop3Emailer); }, "POP3 Emailer"},
        box("TriggerCon", &F::chkTriggerCon, 1),
        Option{"dialRetrys",
               [](Session& r) {
                   return std::to_string(r.f.Slider1.Value()) + "/" + r.f.dialRetrys.Text();
               },
               [](Session& r) {
                   r.f.Slider1.SetValue(5);
                   r.f.dialRetrys.SetText("5");
               },
               "5"},
        box("monWeb", &F::monWeb, 1),
        box("Disconnect", &F::DialUpDisconnect, 1),
        Option{"smtpserver", [](Session& r) { return r.e.smtpServer.Text(); },
               [](Session& r) { r.e.smtpServer.SetText("mail.example.com"); }, "mail.example.com"},
        box("startMin", &F::startmin, 1),
        box("htmlEmail", &F::htmlEmail, 1),
        box("uptimeEmail", &F::uptimeEmail, 1),
        box("Emailonline", &F::emailOnline, 1),
        box("AutoReport", &F::autoSaveReports, 0),
        box("FrequencyRec", &F::FreqEnable, 1),
        Option{"top", [](Session& r) { return std::to_string(r.f.Place().top); },
               [](Session& r) {
                   auto p = r.f.Place();
                   p.top = 1230;
                   r.f.SetPlace(p);
               },
               "1230"},
        Option{"left", [](Session& r) { return std::to_string(r.f.Place().left); },
               [](Session& r) {
                   auto p = r.f.Place();
                   p.left = 4560;
                   r.f.SetPlace(p);
               },
               "4560"},
        combo("dialType", &F::dialType, forms::kProxyLan),
        combo("ispListing", &F::ispListing, "My ISP"),
        field("proxyIP", &F::proxyIP, "10.0.0.8"),
        field("proxyPort", &F::proxyPort, "3128"),
    };
}

void AddSites(Session& r, int count) {
    for (int n = 0; n < count; ++n) {
        const std::string site = "http://site" + std::to_string(n) + ".example/";
        r.f.domainList.AddItem(site);
        r.f.emailList1.AddItem("a" + std::to_string(n) + "@example.com");
        r.f.emailList2.AddItem(n % 2 ? "b" + std::to_string(n) + "@example.com" : "");
    }
}

class SettingsStoreTest : public ::testing::Test {
protected:
    RegistryStoreFake registry;
    void Store(const std::string& name, const std::string& text) {
        registry.Set(kSettingsKey, name, text);
    }
    std::string Stored(const std::string& name) { return registry.ReadValue(kSettingsKey, name); }
    std::unique_ptr<Session> Load() {
        auto run = std::make_unique<Session>(registry);
        run->store.LoadSettings();
        return run;
    }
};

// What the load leaves with nothing stored, or with every value reading as no value.
void ExpectFirstStartState(Session& r) {
    auto& f = r.f;
    EXPECT_EQ(f.domainList.Items(), std::vector<std::string>{kVendorHomePage});
    EXPECT_TRUE(engine::SetContains(f.emailChecksOK, kVendorHomePage));
    EXPECT_EQ(r.e.cboSiteList.Items(), std::vector<std::string>{kVendorHomePage});
    EXPECT_EQ(r.windows.uptimeWindow.urlDropList.Items(),
              std::vector<std::string>{kVendorHomePage});
    ASSERT_EQ(f.ListView1.RowCount(), 1);
    EXPECT_EQ(f.ListView1.Row(1)->text, "www.tessaly.co.uk/");
    EXPECT_EQ(f.ListView1.SubItem(1, 1), "?");
    EXPECT_EQ(f.webCount.Text(), "1");
    for (auto* sound : {&f.SoundToPlay1, &f.SoundToPlay2, &f.SoundToPlay3, &f.noConSound})
        EXPECT_EQ(sound->Text(), "alarm.wav") << sound->Name();
    EXPECT_EQ(f.connectionUrl.Text(), forms::kDefaultConnectionUrl);
    struct Box {
        const forms::CheckBox& box;
        int value;
    } boxes[] = {{f.connection, 0},       {f.exReport, 0},        {f.windowsStart, 0},
                 {f.monWeb, 0},           {f.chkTriggerCon, 0},   {f.startschedule, 0},
                 {f.errorWin, 1},         {f.startmin, 0},        {f.htmlEmail, 0},
                 {f.FreqEnable, 0},       {f.uptimeEmail, 0},     {f.emailOnline, 0},
                 {f.DialUpDisconnect, 0}, {f.autoSaveReports, 1}, {f.chkHttpStatus, 0}};
    for (const auto& b : boxes)
        EXPECT_EQ(b.box.Value(), b.value) << b.box.Name();
    EXPECT_EQ(f.Slider1.Value(), 3);
    EXPECT_EQ(f.dialRetrys.Text(), "3");
    EXPECT_EQ(f.dialType.Text(), forms::kIeDefault);
    EXPECT_TRUE(f.frmIE.Visible());
    EXPECT_FALSE(f.frmDialup.Visible());
    EXPECT_FALSE(f.frmProxy.Visible());
    EXPECT_EQ(f.ispListing.Text(), "");
    EXPECT_EQ(r.windows.settings.dialUpConnection.Text(), "");
    EXPECT_EQ(f.proxyIP.Text(), "127.0.0.1");
    EXPECT_EQ(f.proxyPort.Text(), "80");
    EXPECT_EQ(r.e.EmailAddress.Text(), "Email Address");
    EXPECT_EQ(r.e.emailNotify.Text(), forms::kEmailNone);
    EXPECT_EQ(r.e.smtpServer.Text(), "");
    EXPECT_EQ(f.Place().top, 0);
    EXPECT_EQ(f.Place().left, 0);
    EXPECT_EQ(f.buffer.Text(), "");
}

TEST_F(SettingsStoreTest, FirstStartWithoutTheKey) {
    auto run = Load();
    ExpectFirstStartState(*run);
    // The interval fields are start-up's to fill; the load leaves what the read gave.
    EXPECT_EQ(run->f.intervalMins.Text(), "");
    EXPECT_EQ(run->f.intervalHours.Text(), "");
    EXPECT_FALSE(registry.HasKey(kSettingsKey)) << "a load writes nothing";
}

TEST_F(SettingsStoreTest, ErrorAndEmptyReadsMeanNoValue) {
    for (const char* none : {"", "Error"}) {
        SCOPED_TRACE(std::string("every value reads \"") + none + "\"");
        registry = RegistryStoreFake();
        for (const auto& option : Options())
            Store(option.written, none);
        for (const char* other : {"ConnectionURL", "HTMLEmail", "disconnect", "ProxyIP",
                                  "ProxyPort", "WebSiteCount", "WebSite0", "HttpStatusCheck"})
            Store(other, none);
        ExpectFirstStartState(*Load());
    }
}

TEST_F(SettingsStoreTest, TextsFallBackOnZeroButCheckBoxesDoNot) {
    struct Case {
        const char* name;
        const char* stored;
        std::function<std::string(Session&)> get;
        const char* loaded;
    } cases[] = {
        {"proxyPort", "0", [](Session& r) { return r.f.proxyPort.Text(); }, "80"},
        {"proxyPort", " 0.0 ", [](Session& r) { return r.f.proxyPort.Text(); }, "80"},
        {"proxyPort", "8080", [](Session& r) { return r.f.proxyPort.Text(); }, "8080"},
        {"SoundToPlay2", "0", [](Session& r) { return r.f.SoundToPlay2.Text(); }, "alarm.wav"},
        {"connectionUrl", "0", [](Session& r) { return r.f.connectionUrl.Text(); },
         forms::kDefaultConnectionUrl},
        {"dialType", "0", [](Session& r) { return r.f.dialType.Text(); }, forms::kIeDefault},
        {"errorWin", "0", [](Session& r) { return State(r.f.errorWin); }, "0"},
        {"AutoReport", "0", [](Session& r) { return State(r.f.autoSaveReports); }, "0"},
        {"errorWin", "1", [](Session& r) { return State(r.f.errorWin); }, "1"},
        {"errorWin", "yes", [](Session& r) { return State(r.f.errorWin); }, "0"}, // refused
        {"AutoReport", "yes", [](Session& r) { return State(r.f.autoSaveReports); }, "1"},
        {"WarnNoConnection", "1.0", [](Session& r) { return State(r.f.connection); }, "1"},
        {"intervalMins", "0", [](Session& r) { return r.f.intervalMins.Text(); }, "0"},
        {"HttpStatusCheck", "1", [](Session& r) { return State(r.f.chkHttpStatus); }, "1"},
        {"HttpStatusCheck", "yes", [](Session& r) { return State(r.f.chkHttpStatus); }, "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " = \"" + c.stored + "\"");
        registry = RegistryStoreFake();
        Store(c.name, c.stored);
        auto run = Load();
        EXPECT_EQ(c.get(*run), c.loaded);
    }
}

TEST_F(SettingsStoreTest, SaveWritesEveryValueInOrderUnderOneOpenOfTheKey) {
    Session run(registry);
    AddSites(run, 3);
    for (const auto& option : Options())
        option.set(run);
    run.f.chkHttpStatus.SetValue(1);
    run.store.SaveSettings();

    EXPECT_EQ(registry.opens, 1);
    EXPECT_LE(registry.creates, 1);
    std::vector<std::pair<std::string, std::string>> expected;
    for (const auto& option : Options())
        expected.emplace_back(option.written, option.storedText);
    for (int n = 0; n < kSiteSlots; ++n) {
        const std::string slot = std::to_string(n);
        expected.emplace_back("WebSite" + slot, run.f.domainList.List(n));
        expected.emplace_back("Email1-" + slot, run.f.emailList1.List(n));
        expected.emplace_back("Email2-" + slot, run.f.emailList2.List(n));
    }
    expected.emplace_back("WebSiteCount", "3");
    // A value added later goes after every earlier one, so none of those moves.
    expected.emplace_back("HttpStatusCheck", "1");
    EXPECT_EQ(registry.writes, expected);
    EXPECT_EQ(registry.writes.size(), 30u + 3u * 101u + 2u);
    // Names are stored as written, each once.
    EXPECT_EQ(registry.Find(kSettingsKey)->values.size(), registry.writes.size());
    EXPECT_EQ(registry.Find(kSettingsKey)->values.at("htmlemail").name, "htmlEmail");
}

TEST_F(SettingsStoreTest, EveryOptionComesBackUnderItsReadSpelling) {
    Session first(registry);
    AddSites(first, 1);
    for (const auto& option : Options())
        option.set(first);
    first.store.SaveSettings();

    auto second = Load();
    for (const auto& option : Options()) {
        SCOPED_TRACE(option.written);
        EXPECT_EQ(option.get(*second), option.get(first));
    }
    EXPECT_EQ(second->windows.settings.dialUpConnection.Text(), "My ISP");
    EXPECT_TRUE(second->f.frmProxy.Visible());
    EXPECT_FALSE(second->f.frmIE.Visible());
    EXPECT_FALSE(second->f.frmDialup.Visible());
}

TEST_F(SettingsStoreTest, TheHttpStatusOptionComesBackBothWays) {
    for (int value : {1, 0}) {
        SCOPED_TRACE(value);
        registry = RegistryStoreFake();
        Session first(registry);
        first.f.chkHttpStatus.SetValue(value);
        first.store.SaveSettings();
        EXPECT_EQ(Stored("HttpStatusCheck"), std::to_string(value));
        EXPECT_EQ(Load()->f.chkHttpStatus.Value(), value);
    }
}

TEST_F(SettingsStoreTest, TheDifferentlySpelledNamesAddressTheWrittenValues) {
    struct Case {
        const char* read;
        const char* written;
        std::function<std::string(Session&)> get;
    } cases[] = {
        {"HTMLEmail", "htmlEmail", [](Session& r) { return State(r.f.htmlEmail); }},
        {"ConnectionURL", "connectionUrl", [](Session& r) { return r.f.connectionUrl.Text(); }},
        {"disconnect", "Disconnect", [](Session& r) { return State(r.f.DialUpDisconnect); }},
        {"ProxyIP", "proxyIP", [](Session& r) { return r.f.proxyIP.Text(); }},
        {"ProxyPort", "proxyPort", [](Session& r) { return r.f.proxyPort.Text(); }},
    };
    Session first(registry);
    first.f.htmlEmail.SetValue(1);
    first.f.connectionUrl.SetText("http://probe.example/");
    first.f.DialUpDisconnect.SetValue(1);
    first.f.proxyIP.SetText("192.168.1.1");
    first.f.proxyPort.SetText("8081");
    first.store.SaveSettings();
    auto second = Load();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.read);
        EXPECT_EQ(c.get(*second), c.get(first));
        EXPECT_EQ(second->store.ReadSetting(c.read), Stored(c.written));
        EXPECT_FALSE(Stored(c.written).empty());
    }
}

TEST_F(SettingsStoreTest, AFullListFillsSlotsZeroTo99AndSlot100IsWrittenEmpty) {
    Session first(registry);
    AddSites(first, 100);
    Store("WebSite100", "http://left-over.example/");
    first.store.SaveSettings();
    EXPECT_EQ(Stored("WebSite0"), "http://site0.example/");
    EXPECT_EQ(Stored("WebSite99"), "http://site99.example/");
    EXPECT_EQ(Stored("Email1-99"), "a99@example.com");
    EXPECT_EQ(Stored("WebSite100"), "");
    EXPECT_TRUE(registry.Has(kSettingsKey, "Email2-100"));
    EXPECT_EQ(Stored("WebSiteCount"), "100");

    auto second = Load();
    auto& f = second->f;
    EXPECT_EQ(f.domainList.Items(), first.f.domainList.Items());
    EXPECT_EQ(f.emailList1.Items(), first.f.emailList1.Items());
    EXPECT_EQ(f.emailList2.Items(), first.f.emailList2.Items());
    EXPECT_EQ(second->e.cboSiteList.Items(), first.f.domainList.Items());
    EXPECT_EQ(second->windows.uptimeWindow.urlDropList.Items(), first.f.domainList.Items());
    EXPECT_EQ(f.emailChecksOK.Items(), first.f.domainList.Items());
    ASSERT_EQ(f.ListView1.RowCount(), 100);
    EXPECT_EQ(f.ListView1.Row(100)->text, "site99.example/");
    EXPECT_EQ(f.ListView1.SubItem(100, 1), "?");
    EXPECT_EQ(f.webCount.Text(), "100");
}

TEST_F(SettingsStoreTest, ASiteThatReadsErrorIsSkippedWithItsAddresses) {
    Store("WebSiteCount", "3");
    const char* sites[] = {"http://a/", "Error", "http://c/"};
    for (int n = 0; n < 3; ++n) {
        Store("WebSite" + std::to_string(n), sites[n]);
        Store("Email1-" + std::to_string(n), "one" + std::to_string(n));
        Store("Email2-" + std::to_string(n), "two" + std::to_string(n));
    }
    auto run = Load();
    EXPECT_EQ(run->f.domainList.Items(), (std::vector<std::string>{"http://a/", "http://c/"}));
    EXPECT_EQ(run->f.emailList1.Items(), (std::vector<std::string>{"one0", "one2"}));
    EXPECT_EQ(run->f.emailList2.Items(), (std::vector<std::string>{"two0", "two2"}));
    EXPECT_EQ(run->f.webCount.Text(), "2");
    EXPECT_EQ(run->f.ListView1.RowCount(), 2);
}

TEST_F(SettingsStoreTest, AnAddressThatReadsErrorMovesTheLaterOnesUp) {
    Store("WebSiteCount", "3");
    const char* first[] = {"one0", "Error", "one2"};
    for (int n = 0; n < 3; ++n) {
        Store("WebSite" + std::to_string(n), "http://s" + std::to_string(n) + "/");
        Store("Email1-" + std::to_string(n), first[n]);
        Store("Email2-" + std::to_string(n), ""); // absent and empty are both kept as empty
    }
    auto run = Load();
    EXPECT_EQ(run->f.domainList.ListCount(), 3);
    EXPECT_EQ(run->f.emailList1.Items(), (std::vector<std::string>{"one0", "one2"}));
    EXPECT_EQ(run->f.emailList2.Items(), (std::vector<std::string>{"", "", ""}));
}

TEST_F(SettingsStoreTest, PositionRules) {
    struct Case {
        const char* stored; // nullptr: not stored
        double loaded;
    } cases[] = {
        {nullptr, 0}, {"", 0},          {"Error", 0}, {"1500", 1500}, {"-5", 0},    {"1e30", 0},
        {"-1e30", 0}, {"11520", 11520}, {"11521", 0}, {"2.5", 2.5},   {"abc", 777}, {"1e999", 777},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "(none)");
        registry = RegistryStoreFake();
        if (c.stored) {
            Store("top", c.stored);
            Store("left", c.stored);
        }
        Session run(registry);
        run.f.SetPlace({777, 777, 9000, 6000}); // where the window was before the load
        run.store.LoadSettings();
        EXPECT_EQ(run.f.Place().top, c.loaded);
        // The width bounds left, the height top: 11521 twips is on the screen's width.
        const double left = c.stored && std::string(c.stored) == "11521" ? 11521 : c.loaded;
        EXPECT_EQ(run.f.Place().left, left);
        EXPECT_EQ(run.f.Place().width, 9000);
    }
    // left above the width falls back too.
    registry = RegistryStoreFake();
    Store("left", "15361");
    EXPECT_EQ(Load()->f.Place().left, 0);
}

TEST_F(SettingsStoreTest, APositionOfMinus100OrLessIsNotWritten) {
    struct Case {
        double top;
        const char* stored;
    } cases[] = {{-99, "-99"}, {-100, "900"}, {-48000, "900"}, {0, "0"}, {1234.5, "1234.5"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.top);
        registry = RegistryStoreFake();
        Store("top", "900");
        Store("left", "900");
        Session run(registry);
        run.f.SetPlace({c.top, c.top, 0, 0});
        run.store.SaveSettings();
        EXPECT_EQ(Stored("top"), c.stored);
        EXPECT_EQ(Stored("left"), c.stored);
    }
}

TEST_F(SettingsStoreTest, ASaveDuringTheLoadWritesNothing) {
    Store("WebSiteCount", "1");
    Store("WebSite0", "http://a/");
    Store("errorWin", "1");
    Store("monWeb", "1");
    Session run(registry);
    std::vector<std::string> flags;
    // The option handlers save on every change, also the changes the load makes.
    for (auto* box : {&run.f.errorWin, &run.f.monWeb})
        box->Clicked.Add([&] {
            flags.push_back(run.f.buffer.Text());
            run.store.SaveSettings();
        });
    run.f.dialType.Change.Add([&] { run.store.SaveSettings(); });
    run.f.domainList.ItemsChanged.Add([&] { run.store.SaveSettings(); });
    run.store.LoadSettings();
    EXPECT_EQ(flags, (std::vector<std::string>{"Importing...", "Importing..."}));
    EXPECT_EQ(registry.opens, 0);
    EXPECT_TRUE(registry.writes.empty());
    EXPECT_EQ(run.f.buffer.Text(), "");
    run.store.SaveSettings();
    EXPECT_EQ(registry.opens, 1);
    EXPECT_EQ(Stored("monWeb"), "1");
}

TEST_F(SettingsStoreTest, TheRunEntryChecksTheBoxButNeverUnchecksIt) {
    registry.Set(kRunKey, "Vigil", "C:\\Vigil\\Vigil.EXE");
    EXPECT_EQ(Load()->f.windowsStart.Value(), 1);
    registry = RegistryStoreFake();
    Session run(registry);
    run.f.windowsStart.SetValue(1);
    run.store.LoadSettings();
    EXPECT_EQ(run.f.windowsStart.Value(), 1);
}

TEST_F(SettingsStoreTest, TheConnectionTypeShowsItsFrame) {
    struct Case {
        const char* type;
        bool dialup, proxy, ie;
    } cases[] = {
        {"Dial-Up Connection", true, false, false},
        {"Proxy (LAN)", false, true, false},
        {"IE Default", false, false, true},
        {"Carrier pigeon", true, true, false}, // changes no frame
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        registry = RegistryStoreFake();
        Store("dialType", c.type);
        Session run(registry);
        run.f.frmDialup.SetVisible(true);
        run.f.frmProxy.SetVisible(true);
        run.f.frmIE.SetVisible(false);
        run.store.LoadSettings();
        EXPECT_EQ(run.f.dialType.Text(), c.type);
        EXPECT_EQ(run.f.frmDialup.Visible(), c.dialup);
        EXPECT_EQ(run.f.frmProxy.Visible(), c.proxy);
        EXPECT_EQ(run.f.frmIE.Visible(), c.ie);
    }
}

TEST_F(SettingsStoreTest, AbsurdValuesLoadAsFarAsTheyCan) {
    struct Case {
        const char* name;
        std::string stored;
        std::function<std::string(Session&)> get;
        std::string loaded;
    } cases[] = {
        {"dialRetrys", "1e30",
         [](Session& r) {
             return std::to_string(r.f.Slider1.Value()) + "/" + r.f.dialRetrys.Text();
         },
         "3/3"},
        {"dialRetrys", "-5",
         [](Session& r) {
             return std::to_string(r.f.Slider1.Value()) + "/" + r.f.dialRetrys.Text();
         },
         "3/3"},
        {"dialRetrys", "4",
         [](Session& r) {
             return std::to_string(r.f.Slider1.Value()) + "/" + r.f.dialRetrys.Text();
         },
         "4/4"},
        {"monWeb", "5", [](Session& r) { return State(r.f.monWeb); }, "0"},
        {"monWeb", "-1", [](Session& r) { return State(r.f.monWeb); }, "0"},
        {"AutoReport", "1e30", [](Session& r) { return State(r.f.autoSaveReports); }, "1"},
        {"intervalMins", "1e30", [](Session& r) { return r.f.intervalMins.Text(); }, "1e30"},
        {"connectionUrl", std::string(1 << 20, 'x'),
         [](Session& r) { return std::to_string(r.f.connectionUrl.Text().size()); }, "1048576"},
        {"WebSiteCount", "-5", [](Session& r) { return r.f.webCount.Text(); }, "1"},
        {"WebSiteCount", "abc", [](Session& r) { return r.f.webCount.Text(); }, "1"},
        {"WebSiteCount", "1e30", [](Session& r) { return r.f.webCount.Text(); }, "101"},
        {"WebSiteCount", "2.5", [](Session& r) { return r.f.webCount.Text(); }, "2"},
        {"WebSiteCount", "0", [](Session& r) { return r.f.domainList.List(0); }, kVendorHomePage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " = \"" + c.stored.substr(0, 20) + "\"");
        registry = RegistryStoreFake();
        Store(c.name, c.stored);
        auto run = Load();
        EXPECT_EQ(c.get(*run), c.loaded);
        EXPECT_EQ(run->f.buffer.Text(), "");
    }
}

TEST_F(SettingsStoreTest, AHugeSiteCountReadsOnlyTheSlotsASaveWrites) {
    Store("WebSiteCount", "10000");
    for (int n = 0; n < 3; ++n)
        Store("WebSite" + std::to_string(n), "http://s" + std::to_string(n) + "/");
    auto run = Load();
    EXPECT_EQ(run->f.domainList.ListCount(), kSiteSlots);
    EXPECT_EQ(run->f.domainList.List(2), "http://s2/");
    EXPECT_LT(registry.reads, 3 * kSiteSlots + 50);
    // The next save keeps what was loaded.
    run->store.SaveSettings();
    EXPECT_EQ(Stored("WebSiteCount"), "101");
    EXPECT_EQ(Stored("WebSite2"), "http://s2/");
}

TEST_F(SettingsStoreTest, ASaveTheRegistryRefusesChangesNothing) {
    registry.readOnly = true;
    Session run(registry);
    AddSites(run, 2);
    run.store.SaveSettings();
    run.store.WriteSetting("monWeb", "1");
    EXPECT_TRUE(registry.writes.empty());
    EXPECT_FALSE(registry.HasKey(kSettingsKey));
}

} // namespace
} // namespace vigil::shell
