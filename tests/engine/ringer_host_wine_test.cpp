// Vigil's side of the connection: the flags port over WinINet, and the registered Ringer.dll
// created by its ProgID through the dial-up control port, over the test rasapi32.dll beside this
// program.
#include "vigil/engine/win32/ringer_dial_up_control.h"
#include "vigil/engine/win32/win32_connection_flags.h"

#include "tests/support/test_env.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <wininet.h>

#include <fstream>

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using vigil::engine::DialUpControlError;
using vigil::engine::DialUpError;
using vigil::engine::win32::RingerDialUpControl;

namespace {

bool RunAndWait(std::string command) {
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return false;
    DWORD code = 1;
    if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return code == 0;
}

// What the handlers saw, in order: "Connected Office", "ConnectFailed Office 1029 ...".
struct Recorder {
    std::vector<std::string> events;
    std::vector<DialUpError> errors;
    void Listen(RingerDialUpControl& dun) {
        dun.Connected.Add([this](const std::string& n) { events.push_back("Connected " + n); });
        dun.Disconnected.Add(
            [this](const std::string& n) { events.push_back("Disconnected " + n); });
        dun.ConnectFailed.Add([this](const std::string& n, const DialUpError& e) {
            events.push_back("ConnectFailed " + n + " " + std::to_string(e.number));
            errors.push_back(e);
        });
        dun.DisconnectFailed.Add([this](const std::string& n, const DialUpError& e) {
            events.push_back("DisconnectFailed " + n + " " + std::to_string(e.number));
            errors.push_back(e);
        });
    }
};

class RingerHost : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        registered_ =
            RunAndWait("regsvr32.exe /s \"" + testenv::BinaryDir() + "\\ringer\\Ringer.dll\"");
    }

    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        ASSERT_TRUE(registered_) << "regsvr32 could not register Ringer.dll";
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        scenarioPath_ = std::string(temp) + "vigil-ringer-" +
                        std::to_string(GetCurrentProcessId()) + "-" +
                        ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
        SetEnvironmentVariableA("RINGER_FAKE_SCENARIO", scenarioPath_.c_str());
        Scenario("entry|Office\nentry|Home ISP\nlive|17|Home ISP\n");
    }
    void TearDown() override {
        DeleteFileA(scenarioPath_.c_str());
        CoUninitialize();
    }
    void Scenario(const std::string& lines) {
        std::ofstream out(scenarioPath_, std::ios::binary | std::ios::trunc);
        out << "family|nt\n" << lines;
    }

    static inline bool registered_ = false;
    std::string scenarioPath_;
};

TEST_F(RingerHost, ListsTheEntriesAndTellsWhichIsConnected) {
    RingerDialUpControl dun;
    ASSERT_TRUE(dun.Created()) << std::hex << dun.CreationResult();
    EXPECT_THAT(dun.Connections(), ElementsAre("Office", "Home ISP"));
    EXPECT_EQ(dun.ConnectionCount(), 2);
    EXPECT_TRUE(dun.Active("Home ISP"));
    EXPECT_FALSE(dun.Active("Office"));
    EXPECT_TRUE(dun.Active("")); // any entry
}

TEST_F(RingerHost, AFailedDialThenAGoodOneThenAHangUpArriveAsEvents) {
    RingerDialUpControl dun;
    ASSERT_TRUE(dun.Created());
    Recorder seen;
    seen.Listen(dun);
    EXPECT_FALSE(dun.RaiseErrors());

    Scenario("entry|Office\ndial|Office|678\n");
    EXPECT_NO_THROW(dun.Connect("Office")); // errors are not raised: the events tell
    // One report from each layer the failure passes, the source growing outward.
    EXPECT_THAT(seen.events, ElementsAre("ConnectFailed Office 1029", "ConnectFailed Office 1029",
                                         "ConnectFailed Office 1029"));
    ASSERT_EQ(seen.errors.size(), 3u);
    EXPECT_THAT(seen.errors[0].description, HasSubstr("Unexpected error whilst dialling : "));
    EXPECT_THAT(seen.errors[2].source, HasSubstr("CConnection.Connect"));
    EXPECT_FALSE(dun.Active("Office"));

    seen.events.clear();
    Scenario("entry|Office\n");
    dun.Connect("Office");
    EXPECT_THAT(seen.events, ElementsAre("Connected Office"));
    EXPECT_TRUE(dun.Active("Office"));

    seen.events.clear();
    dun.Disconnect("Office");
    EXPECT_THAT(seen.events, ElementsAre("Disconnected Office"));
    EXPECT_FALSE(dun.Active("Office"));

    seen.events.clear();
    dun.Disconnect("Office"); // no longer connected
    EXPECT_THAT(seen.events, ElementsAre("DisconnectFailed Office 1028"));
}

TEST_F(RingerHost, WithRaiseErrorsAFailureIsThrownWithItsNumberAndSource) {
    RingerDialUpControl dun;
    ASSERT_TRUE(dun.Created());
    Recorder seen;
    seen.Listen(dun);
    dun.SetRaiseErrors(true);
    EXPECT_TRUE(dun.RaiseErrors());

    Scenario("entry|Office\ndial|Office|678\n");
    try {
        dun.Connect("Office");
        ADD_FAILURE() << "no error";
    } catch (const DialUpControlError& e) {
        EXPECT_EQ(e.Number(), 1029);
        EXPECT_EQ(e.Source(),
                  "CDialUpNetworking.Connect;CConnection.Connect;CConnection.ConnectNT");
        EXPECT_THAT(e.Description(), HasSubstr("Unexpected error whilst dialling : "));
    }
    EXPECT_EQ(seen.events.size(), 3u); // the events came before the error

    try {
        dun.Active("office"); // names are compared exactly
        ADD_FAILURE() << "no error";
    } catch (const DialUpControlError& e) {
        EXPECT_EQ(e.Number(), 1026);
        EXPECT_EQ(e.Description(), "The specified connection does not exist.");
    }
}

TEST_F(RingerHost, RaiseErrorsIsLoadedFromAndSavedToThePropertyBag) {
    {
        RingerDialUpControl fresh;
        ASSERT_TRUE(fresh.Created());
        EXPECT_FALSE(fresh.RaiseErrors());
        EXPECT_FALSE(fresh.SaveRaiseErrors());
        fresh.SetRaiseErrors(true);
        EXPECT_TRUE(fresh.SaveRaiseErrors());
    }
    RingerDialUpControl loaded(true);
    EXPECT_TRUE(loaded.RaiseErrors());
    RingerDialUpControl loadedFalse(false);
    EXPECT_FALSE(loadedFalse.RaiseErrors());
}

TEST_F(RingerHost, AControlThatIsNotRegisteredFailsEveryCallSoftly) {
    RingerDialUpControl dun(std::nullopt, L"Ringer.NotRegisteredHere");
    EXPECT_FALSE(dun.Created());
    EXPECT_TRUE(FAILED(dun.CreationResult()));
    const std::vector<std::pair<const char*, std::function<void()>>> calls = {
        {"Connections", [&] { dun.Connections(); }},
        {"ConnectionCount", [&] { dun.ConnectionCount(); }},
        {"Active", [&] { dun.Active("Office"); }},
        {"Connect", [&] { dun.Connect("Office"); }},
        {"Disconnect", [&] { dun.Disconnect("Office"); }},
        {"RaiseErrors", [&] { dun.RaiseErrors(); }},
        {"SetRaiseErrors", [&] { dun.SetRaiseErrors(true); }},
    };
    for (const auto& [name, call] : calls) {
        try {
            call();
            ADD_FAILURE() << name << ": no error";
        } catch (const DialUpControlError& e) {
            EXPECT_EQ(e.Number(), 429) << name;
        }
    }
}

} // namespace

// The flags port hands on exactly what WinINet answers, and the questions read its bits.
TEST(ConnectionFlags, AreWinInetsOwn) {
    DWORD direct = 0;
    const bool online = InternetGetConnectedState(&direct, 0) != FALSE;
    vigil::engine::win32::Win32ConnectionFlags port;
    std::uint32_t flags = 0xFFFFFFFF;
    EXPECT_EQ(port.InternetGetConnectedState(flags), online);
    EXPECT_EQ(flags, direct);
    vigil::engine::CheckInternetConnectionModule module(port);
    EXPECT_EQ(module.IsOnline(), online);
    EXPECT_EQ(module.IsLanConnection(), (direct & INTERNET_CONNECTION_LAN) != 0);
    EXPECT_EQ(module.IsModemConnection(), (direct & INTERNET_CONNECTION_MODEM) != 0);
    EXPECT_EQ(module.IsRasInstalled(), (direct & INTERNET_RAS_INSTALLED) != 0);
}
