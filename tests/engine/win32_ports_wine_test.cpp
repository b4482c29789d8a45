// The engine's Win32 ports against the real platform: the short date of the user's locale,
// lower-casing in the ANSI code page, files written byte for byte, the activity log's report
// files on a real disk, and the addresses handed to WinINet.
#include "vigil/engine/activity_log.h"
#include "vigil/engine/win32/win32_clock_locale.h"
#include "vigil/engine/win32/win32_file_system.h"
#include "vigil/engine/win32/wininet_transfer.h"
#include "vigil/forms/rich_text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

using namespace vigil;
using namespace vigil::engine;

namespace {

// Sets the user's short date format for the test and puts the old one back.
class ShortDateFormat {
public:
    explicit ShortDateFormat(const char* picture) {
        char old[80] = "";
        GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, old, sizeof old);
        old_ = old;
        ok_ = SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, picture) != FALSE;
    }
    ~ShortDateFormat() { SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, old_.c_str()); }
    bool Ok() const { return ok_; }

private:
    std::string old_;
    bool ok_ = false;
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// A fresh working folder for one test, made current while the test runs.
class TempWorkingFolder {
public:
    TempWorkingFolder() {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        path_ = std::string(base) + "vigil-log-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(path_.c_str(), nullptr);
        char old[MAX_PATH];
        GetCurrentDirectoryA(MAX_PATH, old);
        old_ = old;
        SetCurrentDirectoryA(path_.c_str());
    }
    ~TempWorkingFolder() {
        SetCurrentDirectoryA(old_.c_str());
        WIN32_FIND_DATAA found;
        const std::string reports = path_ + "\\reports";
        HANDLE find = FindFirstFileA((reports + "\\*").c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) {
            do
                DeleteFileA((reports + "\\" + found.cFileName).c_str());
            while (FindNextFileA(find, &found));
            FindClose(find);
        }
        RemoveDirectoryA(reports.c_str());
        RemoveDirectoryA(path_.c_str());
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    std::string old_;
};

// The system's date texts with a time the test sets.
class SetClock : public win32::Win32ClockLocale {
public:
    LocalTime now{2026, 7, 11, 23, 59, 0};
    LocalTime Now() const override { return now; }
};

class CountingDialogs : public Dialogs {
public:
    int shown = 0;
    MsgBoxResult MsgBox(const std::string&, const std::string&, MsgBoxButtons) override {
        ++shown;
        return MsgBoxResult::Ok;
    }
};

} // namespace

TEST(Win32ClockLocale, ShortDateFollowsTheUsersFormat) {
    win32::Win32ClockLocale clock;
    const LocalTime day{2026, 7, 12, 8, 5, 9};
    {
        ShortDateFormat format("MM/dd/yyyy");
        ASSERT_TRUE(format.Ok());
        EXPECT_EQ(clock.ShortDate(day), "07/12/2026");
        EXPECT_EQ(clock.GeneralDate(day).rfind("07/12/2026 ", 0), 0u) << clock.GeneralDate(day);
    }
    {
        ShortDateFormat format("dd.MM.yyyy");
        ASSERT_TRUE(format.Ok());
        EXPECT_EQ(clock.ShortDate(day), "12.07.2026");
    }
}

TEST(Win32ClockLocale, LowerCasesTheAnsiCodePage) {
    win32::Win32ClockLocale clock;
    EXPECT_EQ(clock.LowerCase("404 NOT Found"), "404 not found");
    if (GetACP() != 1252)
        GTEST_SKIP() << "code page " << GetACP();
    EXPECT_EQ(clock.LowerCase("\xC0\xC9\xD6 OK"), "\xE0\xE9\xF6 ok");
}

TEST(Win32Logs, RollAndCycleFilesLandInTheReportsFolder) {
    ShortDateFormat format("MM/dd/yyyy");
    ASSERT_TRUE(format.Ok());
    TempWorkingFolder folder;
    win32::Win32FileSystem files;
    EXPECT_EQ(files.CurrentDirectory(), folder.Path());
    SetClock clock;
    CountingDialogs dialogs;
    forms::RichText report("report");
    ActivityLog log(report, clock, files, dialogs);

    // No reports folder yet: the roll fails once with the message and keeps the log.
    log.WriteLog("day one");
    clock.now = {2026, 7, 12, 0, 0, 1};
    log.WriteLog("after midnight");
    log.SaveCycleReport();
    EXPECT_EQ(dialogs.shown, 1);
    EXPECT_EQ(report.Text(), "day one\r\nafter midnight\r\n");
    EXPECT_EQ(GetFileAttributesA("reports\\report-07122026.log"), INVALID_FILE_ATTRIBUTES);

    ASSERT_TRUE(CreateDirectoryA("reports", nullptr));
    log.SaveCycleReport();
    EXPECT_EQ(ReadAll(folder.Path() + "\\reports\\report-07122026.log"),
              "day one\r\nafter midnight\r\n\r\n");

    clock.now = {2026, 7, 13, 0, 0, 1};
    log.WriteLog("next day");
    EXPECT_EQ(ReadAll(folder.Path() + "\\reports\\report- 07-13-2026.log"),
              "day one\r\nafter midnight\r\nnext day\r\n\r\n");
    EXPECT_EQ(report.Text(), "");
    EXPECT_EQ(dialogs.shown, 1);
}

TEST(WinInetTransfer, AnAddressWithoutASchemeIsPlainHttp) {
    struct {
        const char* address;
        const char* opened;
    } cases[] = {
        {"http://www.example.com/", "http://www.example.com/"},
        {"HTTPS://www.example.com/", "HTTPS://www.example.com/"},
        {"www.example.com", "http://www.example.com"},
        {"127.0.0.1:8080/status", "http://127.0.0.1:8080/status"},
        // A "://" in the query is not the address's scheme.
        {"www.example.com/go?to=http://other/", "http://www.example.com/go?to=http://other/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(win32::AddressForTransfer(c.address), c.opened) << c.address;
}
