// The program's behaviour objects together on one set of windows, as Vigil.exe builds them:
// every option the user changes is saved exactly once, whichever object owns it.
#include "vigil/engine/connection_modes.h"
#include "vigil/engine/tests/fakes.h"
#include "vigil/notify/emailer_window.h"
#include "vigil/shell/main_window_behaviour.h"
#include "vigil/shell/schedule.h"
#include "vigil/shell/tests/shell_fakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace vigil::shell {
namespace {

struct NoFlags : engine::ConnectionFlags {
    bool InternetGetConnectedState(std::uint32_t& flags) override {
        flags = 0;
        return false;
    }
};

struct NoDialUp : engine::DialUpControl {
    std::vector<std::string> Connections() override { return {"Home ISP", "Office"}; }
    int ConnectionCount() override { return 2; }
    bool Active(const std::string&) override { return false; }
    void Connect(const std::string&) override {}
    void Disconnect(const std::string&) override {}
    bool RaiseErrors() override { return false; }
    void SetRaiseErrors(bool) override {}
};

struct OptionSaves : ::testing::Test {
    forms::Windows windows;
    forms::Form1& f = windows.form1;
    fakes::Journal journal;
    fakes::Settings settings{journal};
    fakes::OpenDialog dialog;
    fakes::Shell shell;
    engine::fakes::Files files;
    NoFlags flags;
    engine::CheckInternetConnectionModule connection{flags};
    NoDialUp dialUp;
    std::function<void()> save = [this] { settings.SaveSettings(); };
    MainWindowBehaviour behaviour{f, settings, dialog, shell, files};
    engine::ConnectionModes modes{windows, connection, dialUp, save};
    notify::EmailerWindow emailerWindow{windows, save};
    // As the program builds it: startschedule is saved with the other options.
    Scheduler scheduler{f, [](const std::string&) {}, nullptr};

    OptionSaves() {
        modes.Bind();
        modes.FillDialUpEntries();
        journal.clear();
    }
    int Saves() const {
        return static_cast<int>(std::count(journal.begin(), journal.end(), "SaveSettings"));
    }
};

TEST_F(OptionSaves, EachOptionChangeSavesOnce) {
    struct Case {
        const char* what;
        std::function<void()> change;
    };
    const std::vector<Case> cases = {
        {"connection", [&] { f.connection.Click(); }},
        {"errorWin", [&] { f.errorWin.Click(); }},
        {"chkTriggerCon", [&] { f.chkTriggerCon.Click(); }},
        {"monWeb", [&] { f.monWeb.Click(); }},
        {"startmin", [&] { f.startmin.Click(); }},
        {"startschedule", [&] { f.startschedule.Click(); }},
        {"exReport", [&] { f.exReport.Click(); }},
        {"htmlEmail", [&] { f.htmlEmail.Click(); }},
        {"uptimeEmail", [&] { f.uptimeEmail.Click(); }},
        {"emailOnline", [&] { f.emailOnline.Click(); }},
        {"DialUpDisconnect", [&] { f.DialUpDisconnect.Click(); }},
        {"chkHttpStatus", [&] { f.chkHttpStatus.Click(); }},
        {"connectionUrl", [&] { f.connectionUrl.SetText("http://127.0.0.1/"); }},
        {"Slider1", [&] { f.Slider1.SetValue(1); }},
        {"ispListing", [&] { f.ispListing.SetListIndex(1); }},
        {"EmailAddress", [&] { windows.emailer.EmailAddress.SetText("me@example.com"); }},
        {"smtpServer", [&] { windows.emailer.smtpServer.SetText("127.0.0.1:2525"); }},
    };
    for (const Case& c : cases) {
        journal.clear();
        c.change();
        EXPECT_EQ(Saves(), 1) << c.what;
    }
}

} // namespace
} // namespace vigil::shell
