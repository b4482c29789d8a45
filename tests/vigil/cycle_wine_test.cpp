// The real Vigil.exe end to end: its settings written to the registry beforehand, its sites
// served on 127.0.0.1 by cycle_driver.py, "Check Now" pressed through its button, and the
// outcome read from the list view, the Status field, the report file and the frequency files.
// The driver checks the e-mails its SMTP server received once this program has ended.
#include "tests/support/remote_process.h"
#include "tests/support/test_env.h"
#include "tests/vigil/vigil_fixture.h"
#include "vigil/shell/win32/control_ids.h"

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <wininet.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using testenv::RemoteProcess;
using testenv::TextOf;

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string Local(const std::string& portVariable, const std::string& path) {
    return "http://127.0.0.1:" + Env(portVariable.c_str()) + path;
}

std::string Site(const std::string& path) {
    return Local("VIGIL_HTTP_PORT", path);
}

// Asks the driver's page server to change a page's state (for example a site coming back).
bool Control(const std::string& path) {
    HINTERNET net = InternetOpenA("vigil-test", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    if (!net)
        return false;
    HINTERNET url = InternetOpenUrlA(net, Site(path).c_str(), nullptr, 0,
                                     INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
    bool ok = url != nullptr;
    if (url)
        InternetCloseHandle(url);
    InternetCloseHandle(net);
    return ok;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> FilesLike(const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(pattern.c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(found.cFileName);
    while (FindNextFileA(find, &found));
    FindClose(find);
    return names;
}

class VigilCycle : public ::testing::Test {
protected:
    void SetUp() override {
        vigiltest::ForgetSettings();
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "vigil-cycle-" + std::to_string(GetTickCount()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name();
        CreateDirectoryA(folder_.c_str(), nullptr);
        CreateDirectoryA((folder_ + "\\reports").c_str(), nullptr);
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, "Software\\Vigil Locale", "Path", REG_SZ,
                        folder_.c_str(), static_cast<DWORD>(folder_.size() + 1));
        // Quiet options: no error window, no alert, no sounds, no triggering.
        for (auto [name, value] :
             std::initializer_list<std::pair<const char*, const char*>>{{"errorWin", "0"},
                                                                        {"WarnNoConnection", "0"},
                                                                        {"TriggerCon", "0"},
                                                                        {"AutoReport", "1"},
                                                                        {"FrequencyRec", "1"},
                                                                        {"dialType", "IE Default"},
                                                                        {"emailNotify", "None"},
                                                                        {"startMin", "0"}})
            vigiltest::WriteSetting(name, value);
        vigiltest::WriteSetting("ConnectionURL", Site("/conn"));
    }

    void TearDown() override {
        if (vigil_ && main_) {
            PostMessageA(main_, WM_CLOSE, 0, 0);
            vigil_->WaitForExit(20000);
        }
        vigil_.reset();
    }

    void Sites(const std::vector<std::string>& addresses) {
        for (std::size_t n = 0; n < addresses.size(); ++n)
            vigiltest::WriteSetting("WebSite" + std::to_string(n), addresses[n]);
        vigiltest::WriteSetting("WebSiteCount", std::to_string(addresses.size()));
    }

    void Start() {
        vigil_ = vigiltest::StartVigil();
        ASSERT_TRUE(vigil_->Started());
        main_ = vigil_->WaitForWindow(vigiltest::kMainCaption, 30000);
        ASSERT_NE(main_, nullptr) << "the main window did not appear";
        // The window exists from the start; it is shown once start-up has loaded everything.
        // A click before then would be served by start-up's own message turns.
        for (int wait = 0; wait < 600 && !IsWindowVisible(main_); ++wait)
            Sleep(50);
        ASSERT_TRUE(IsWindowVisible(main_)) << "start-up did not end";
        list_ = GetDlgItem(main_, IDC_LISTVIEW1);
    }

    // Presses "Check Now" as the user does; the click returns when the cycle has ended.
    void CheckNow() {
        HWND button = GetDlgItem(main_, IDC_COMMAND2);
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(IsWindowEnabled(button));
        DWORD_PTR result = 0;
        ASSERT_NE(SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, 180000, &result), 0)
            << "the cycle did not end";
        EXPECT_TRUE(IsWindowEnabled(button)) << "Check Now is enabled again after the cycle";
    }

    std::string Status() const {
        return TextOf(vigiltest::PageItem(main_, IDD_MONITORINGFRM, IDC_STATUS));
    }
    std::string Mark(int row) const { return vigil_->ListViewText(list_, row, 1); }

    // The report file the cycle writes: reports\report-<date>.log in the installation folder.
    std::string Report() const {
        auto names = FilesLike(folder_ + "\\reports\\report-*.log");
        if (names.size() != 1)
            return std::to_string(names.size()) + " report files, not one";
        return ReadFile(folder_ + "\\reports\\" + names[0]);
    }

    std::string folder_;
    std::unique_ptr<RemoteProcess> vigil_;
    HWND main_ = nullptr;
    HWND list_ = nullptr;
};

TEST_F(VigilCycle, ACycleMarksEachSiteLogsItAndWritesTheFiles) {
    const std::string ok = Site("/ok"), missing = Site("/missing"), broken = Site("/broken");
    const std::string closed = Local("VIGIL_CLOSED_PORT", "/");
    Sites({ok, missing, broken, closed});
    Start();
    ASSERT_EQ(vigil_->ListViewCount(list_), 4);
    CheckNow();

    EXPECT_EQ(Mark(0), "Ok");
    EXPECT_EQ(Mark(1), "Err");
    EXPECT_EQ(Mark(2), "Err");
    EXPECT_EQ(Mark(3), "Err");
    EXPECT_EQ(Status(), "3/4 offline");
    EXPECT_EQ(TextOf(main_), "Vigil - 1.6.5");
    EXPECT_EQ(TextOf(GetDlgItem(main_, IDC_WEBCOUNT)), "4");

    const std::string report = Report();
    const std::vector<std::string> lines = {"Web site checking started - ",
                                            "Checking Web Connection...",
                                            "Initialising System",
                                            "Processing - " + ok,
                                            "Website response : ",
                                            "Web site down - " + missing,
                                            ">Error: 404 not found",
                                            "Web site down - " + broken,
                                            ">Error: 500 internal server error",
                                            "Web site down - " + closed,
                                            "Errors reported"};
    for (const std::string& line : lines)
        EXPECT_NE(report.find(line), std::string::npos) << "missing: " << line << "\n" << report;
    EXPECT_EQ(report.find("Web sites verified"), std::string::npos);
    EXPECT_NE(report.find("\r\n"), std::string::npos) << "CR LF line ends";

    // The frequency files: addresses, up counts and down counts, one line a site.
    EXPECT_EQ(ReadFile(folder_ + "\\FreqA.log"),
              ok + "\r\n" + missing + "\r\n" + broken + "\r\n" + closed + "\r\n");
    EXPECT_EQ(ReadFile(folder_ + "\\FreqB.log"), "1\r\n0\r\n0\r\n0\r\n");
    EXPECT_EQ(ReadFile(folder_ + "\\FreqC.log"), "0\r\n1\r\n1\r\n1\r\n");

    // "Status Report" writes Frequency.htm from the counts of the cycle.
    vigiltest::Click(GetDlgItem(main_, IDC_FREQHTML));
    const std::string html = ReadFile(folder_ + "\\Frequency.htm");
    EXPECT_NE(html.find(ok), std::string::npos) << html;
    EXPECT_NE(html.find("100%"), std::string::npos) << html;
    EXPECT_NE(html.find(missing), std::string::npos) << html;
}

TEST_F(VigilCycle, AllSitesUpEndGreenWithEveryStatusOk) {
    Sites({Site("/ok"), Site("/ok?second")});
    Start();
    CheckNow();
    EXPECT_EQ(Mark(0), "Ok");
    EXPECT_EQ(Mark(1), "Ok");
    EXPECT_EQ(Status(), "0/2 offline");
    EXPECT_NE(Report().find("Web sites verified"), std::string::npos) << Report();
}

TEST_F(VigilCycle, ClosingEndsTheProgramAndTheNextStartGoesOnFromTheSavedCounts) {
    const std::string ok = Site("/ok"), missing = Site("/missing");
    Sites({ok, missing});
    Start();
    CheckNow();
    PostMessageA(main_, WM_CLOSE, 0, 0);
    EXPECT_EQ(vigil_->WaitForExit(30000), 0) << "the window-close quit ends the program";
    EXPECT_EQ(FindWindowA(nullptr, vigiltest::kMainCaption), nullptr);

    // Start-up loads the counts the last cycle saved; the next cycle adds to them.
    ASSERT_EQ(ReadFile(folder_ + "\\FreqB.log"), "1\r\n0\r\n");
    { std::ofstream(folder_ + "\\FreqB.log", std::ios::binary) << "5\r\n0\r\n"; }
    Start();
    CheckNow();
    EXPECT_EQ(ReadFile(folder_ + "\\FreqB.log"), "6\r\n0\r\n");
    EXPECT_EQ(ReadFile(folder_ + "\\FreqC.log"), "0\r\n2\r\n");
}

TEST_F(VigilCycle, NoConnectionWithoutTriggeringAbortsBeforeAnySite) {
    vigiltest::WriteSetting("ConnectionURL", Local("VIGIL_CLOSED_PORT", "/"));
    Sites({Site("/ok")});
    Start();
    CheckNow();
    const std::string report = Report();
    EXPECT_NE(report.find("No web connection available!"), std::string::npos) << report;
    EXPECT_NE(report.find("Web site checking aborted"), std::string::npos) << report;
    EXPECT_EQ(report.find("Processing - "), std::string::npos) << report;
    EXPECT_EQ(Mark(0), "?");
    EXPECT_EQ(TextOf(main_), vigiltest::kMainCaption);
}

TEST_F(VigilCycle, TheTestAddressFailingMidCycleAbortsWithoutJudgingTheSite) {
    // The test address answers once (the connection phase), then fails.
    vigiltest::WriteSetting("ConnectionURL", Site("/conn-once?abort"));
    Sites({Site("/ok"), Site("/missing"), Site("/ok?after")});
    Start();
    CheckNow();
    const std::string report = Report();
    EXPECT_NE(report.find("web connection failure!"), std::string::npos) << report;
    EXPECT_NE(report.find("Web site checking aborted"), std::string::npos) << report;
    EXPECT_EQ(report.find("Web site down - "), std::string::npos) << report;
    EXPECT_EQ(report.find("Processing - " + Site("/ok?after")), std::string::npos) << report;
    EXPECT_EQ(Mark(0), "Ok");
    EXPECT_EQ(Mark(1), "?");
}

TEST_F(VigilCycle, ASiteThatFailsIsMailedOnceAndAgainWhenItComesBack) {
    const std::string flaky = Site("/flaky");
    ASSERT_TRUE(Control("/set?flaky=down"));
    vigiltest::WriteSetting("emailNotify", "POP3 Emailer");
    vigiltest::WriteSetting("smtpserver", "127.0.0.1:" + Env("VIGIL_SMTP_PORT"));
    vigiltest::WriteSetting("emailAddress", "ops@example.com");
    vigiltest::WriteSetting("Email1-0", "web@example.com");
    Sites({flaky});
    Start();
    CheckNow(); // down: the failure e-mail
    EXPECT_EQ(Mark(0), "Err");
    CheckNow(); // still down: no second e-mail
    ASSERT_TRUE(Control("/set?flaky=up"));
    CheckNow(); // back: the recovery e-mail
    EXPECT_EQ(Mark(0), "Ok");
    CheckNow(); // still up: nothing more
    const std::string report = Report();
    EXPECT_NE(report.find(">"), std::string::npos) << report;
}

// Dial-up: the registered Ringer.dll over the test rasapi32.dll, which Wine loads only from the
// folder of the program (the driver sets rasapi32=n for the whole run), so Vigil.exe runs from
// a copy beside it in the installation folder.
TEST_F(VigilCycle, WithoutAConnectionTheCycleDialsTheChosenEntryAndHangsUpAfterwards) {
    const std::string bin = testenv::BinaryDir();
    const std::string regsvr = "regsvr32.exe /s \"" + bin + "\\ringer\\Ringer.dll\"";
    RemoteProcess registration(regsvr, "");
    ASSERT_EQ(registration.WaitForExit(60000), 0) << "regsvr32 could not register Ringer.dll";
    ASSERT_TRUE(
        CopyFileA((bin + "\\vigil\\Vigil.exe").c_str(), (folder_ + "\\Vigil.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((bin + "\\tests\\ringer\\rasapi32.dll").c_str(),
                          (folder_ + "\\rasapi32.dll").c_str(), FALSE));
    const std::string scenario = folder_ + "\\ras-scenario.txt";
    { std::ofstream(scenario, std::ios::binary) << "entry|Office\nentry|Home ISP\n"; }
    SetEnvironmentVariableA("RINGER_FAKE_SCENARIO", scenario.c_str());

    vigiltest::WriteSetting("dialType", "Dial-Up Connection");
    vigiltest::WriteSetting("ispListing", "Office");
    vigiltest::WriteSetting("TriggerCon", "1");
    Sites({Site("/ok")});
    vigil_ = std::make_unique<RemoteProcess>("\"" + folder_ + "\\Vigil.exe\"", folder_);
    ASSERT_TRUE(vigil_->Started());
    main_ = vigil_->WaitForWindow(vigiltest::kMainCaption, 30000);
    ASSERT_NE(main_, nullptr);
    for (int wait = 0; wait < 600 && !IsWindowVisible(main_); ++wait)
        Sleep(50);
    list_ = GetDlgItem(main_, IDC_LISTVIEW1);

    // The entries came from the phone book through Ringer.
    HWND entries = vigiltest::SubPageItem(main_, IDD_FRMCONNECTION, IDD_FRMDIALUP, IDC_ISPLISTING);
    EXPECT_EQ(SendMessageA(entries, CB_GETCOUNT, 0, 0), 2);
    CheckNow();
    const std::string report = Report();
    EXPECT_NE(report.find("Triggering Internet Connection"), std::string::npos) << report;
    EXPECT_NE(report.find("Connected"), std::string::npos) << report;
    EXPECT_NE(report.find("Web sites verified"), std::string::npos) << report;
    EXPECT_NE(report.find("Disconnecting"), std::string::npos) << report;
    EXPECT_EQ(Mark(0), "Ok");
    const std::string state = ReadFile(scenario);
    EXPECT_EQ(state.find("live|"), std::string::npos) << "hung up at the end:\n" << state;
}

} // namespace
