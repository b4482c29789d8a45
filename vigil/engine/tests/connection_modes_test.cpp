// "Detect", the dial-up entry list, the retry mirror and the dial-up events, on a headless
// main window with fake connection flags and a fake dial-up control.
#include "vigil/engine/connection_modes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace vigil::engine;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

struct FakeFlags : ConnectionFlags {
    bool online = true;
    std::uint32_t flags = 0;
    int reads = 0;
    bool InternetGetConnectedState(std::uint32_t& out) override {
        ++reads;
        out = flags;
        return online;
    }
};

struct FakeDialUp : DialUpControl {
    std::vector<std::string> entries;
    bool fails = false; // every call raises, as a control that is not there does
    void Check() {
        if (fails)
            throw DialUpControlError({kControlNotCreated, "Vigil", kControlNotCreatedText});
    }
    std::vector<std::string> Connections() override {
        Check();
        return entries;
    }
    int ConnectionCount() override {
        Check();
        return static_cast<int>(entries.size());
    }
    bool Active(const std::string&) override { return false; }
    void Connect(const std::string&) override {}
    void Disconnect(const std::string&) override {}
    bool RaiseErrors() override { return false; }
    void SetRaiseErrors(bool) override {}
};

class Connection : public ::testing::Test {
protected:
    vigil::forms::Windows windows;
    FakeFlags flags;
    CheckInternetConnectionModule module{flags};
    FakeDialUp dialUp;
    int saves = 0;
    ConnectionModes modes{windows, module, dialUp, [this] { ++saves; }};
    vigil::forms::Form1& f = windows.form1;

    void SetUp() override { modes.Bind(); }
    std::vector<bool> Frames() {
        return {f.frmDialup.Visible(), f.frmProxy.Visible(), f.frmIE.Visible()};
    }
};

TEST_F(Connection, TheFourQuestionsReadTheFlagsEachTime) {
    struct Case {
        bool online;
        std::uint32_t flags;
        bool isOnline, modem, lan, ras;
    };
    const std::vector<Case> cases = {
        {false, 0x00, false, false, false, false}, {true, 0x01, true, true, false, false},
        {true, 0x02, true, false, true, false},    {true, 0x10, true, false, false, true},
        {false, 0x13, false, true, true, true},    {true, 0xEC, true, false, false, false},
    };
    for (const auto& c : cases) {
        flags.online = c.online;
        flags.flags = c.flags;
        flags.reads = 0;
        EXPECT_EQ(module.IsOnline(), c.isOnline) << c.flags;
        EXPECT_EQ(module.IsModemConnection(), c.modem) << c.flags;
        EXPECT_EQ(module.IsLanConnection(), c.lan) << c.flags;
        EXPECT_EQ(module.IsRasInstalled(), c.ras) << c.flags;
        EXPECT_EQ(flags.reads, 4);
    }
}

TEST_F(Connection, DetectPicksTheTypeForEveryFlagCombination) {
    // Each combination of LAN, modem and remote access, from each starting type.
    for (std::uint32_t bits = 0; bits < 8; ++bits) {
        const bool lan = bits & 1, modem = bits & 2, ras = bits & 4;
        for (int start = 0; start < 3; ++start) {
            SCOPED_TRACE("lan " + std::to_string(lan) + " modem " + std::to_string(modem) +
                         " ras " + std::to_string(ras) + " from " + std::to_string(start));
            f.dialType.SetListIndex(start);
            flags.flags = (lan ? kConnectionLan : 0) | (modem ? kConnectionModem : 0) |
                          (ras ? kRasInstalled : 0);
            f.DetectCon.Click();
            int expected = !ras ? 2 : lan ? 1 : modem ? 0 : start;
            EXPECT_EQ(f.dialType.ListIndex(), expected);
            EXPECT_EQ(f.dialType.Text(), f.dialType.List(expected));
            std::vector<bool> frames(3, false);
            frames[static_cast<std::size_t>(expected)] = true;
            EXPECT_EQ(Frames(), frames);
        }
    }
}

TEST_F(Connection, DetectWithoutRemoteAccessShowsIeDefaultAndSaves) {
    f.dialType.SetListIndex(0);
    saves = 0;
    flags.flags = kConnectionLan | kConnectionModem;
    f.DetectCon.Click();
    EXPECT_EQ(f.dialType.Text(), "IE Default");
    EXPECT_EQ(Frames(), (std::vector<bool>{false, false, true}));
    EXPECT_EQ(saves, 1);
}

TEST_F(Connection, ChoosingATypeShowsItsFrameOnly) {
    EXPECT_EQ(Frames(), (std::vector<bool>{false, false, true})); // design state
    const std::vector<std::pair<int, std::vector<bool>>> cases = {
        {0, {true, false, false}}, {1, {false, true, false}}, {2, {false, false, true}}};
    for (const auto& [index, frames] : cases) {
        f.dialType.SetListIndex(index);
        EXPECT_EQ(Frames(), frames) << index;
    }
    EXPECT_EQ(saves, 3);
}

TEST_F(Connection, FillDialUpEntriesListsThemAndShowsTheStoredOne) {
    struct Case {
        const char* what;
        std::vector<std::string> entries;
        std::string stored;
        std::string shown;
    };
    const std::vector<Case> cases = {
        {"stored entry exists", {"Office", "Home ISP"}, "Home ISP", "Home ISP"},
        {"stored entry gone", {"Office", "Home ISP"}, "Old ISP", ""},
        {"missing setting", {"Office", "Error"}, "Error", ""},
        {"nothing stored", {"Office"}, "", ""},
        {"case differs", {"Office"}, "office", ""},
        {"no entries", {}, "Office", ""},
        {"the same name twice", {"Office", "Office"}, "Office", "Office"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        f.ispListing.AddItem("left over");
        f.ispListing.SetText("left over");
        dialUp.entries = c.entries;
        windows.settings.dialUpConnection.SetText(c.stored);
        modes.FillDialUpEntries();
        EXPECT_EQ(f.ispListing.Items(), c.entries);
        EXPECT_EQ(f.ispListing.Text(), c.shown);
        EXPECT_EQ(windows.settings.dialUpConnection.Text(), c.stored); // kept for the cycle
    }
    EXPECT_EQ(saves, 0);
}

TEST_F(Connection, FillDialUpEntriesWithoutAUsableControlLeavesTheListEmpty) {
    dialUp.fails = true;
    f.ispListing.AddItem("left over");
    windows.settings.dialUpConnection.SetText("Office");
    EXPECT_NO_THROW(modes.FillDialUpEntries());
    EXPECT_THAT(f.ispListing.Items(), IsEmpty());
    EXPECT_EQ(f.ispListing.Text(), "");
}

TEST_F(Connection, ChoosingAnEntryStoresItsNameAndSaves) {
    dialUp.entries = {"Office", "Home ISP"};
    modes.FillDialUpEntries();
    f.ispListing.SetListIndex(1);
    EXPECT_EQ(windows.settings.dialUpConnection.Text(), "Home ISP");
    EXPECT_EQ(saves, 1);
}

TEST_F(Connection, TheSliderIsMirroredAsDecimalTextAndSaved) {
    for (int value : {5, 0, 2}) {
        f.Slider1.SetValue(value);
        EXPECT_EQ(f.dialRetrys.Text(), std::to_string(value));
    }
    EXPECT_EQ(saves, 3);
}

TEST_F(Connection, TheOptionBoxesSave) {
    f.chkTriggerCon.Click();
    f.DialUpDisconnect.Click();
    f.monWeb.Click();
    EXPECT_EQ(saves, 3);
}

TEST_F(Connection, EachDialUpEventLeavesItsTextInDialState) {
    auto& state = windows.settings.dialState;
    const DialUpError err{1029, "CDialUpNetworking.Connect",
                          "Unexpected error whilst dialling : x"};
    struct Case {
        std::function<void()> raise;
        const char* text;
    };
    const std::vector<Case> cases = {
        {[&] { dialUp.Connected.Raise("Office"); }, "Connected"},
        {[&] { dialUp.ConnectFailed.Raise("Office", err); }, "Connection Failure"},
        {[&] { dialUp.Disconnected.Raise(""); }, "Connection Disconnected"},
        {[&] { dialUp.DisconnectFailed.Raise("Office", err); }, "Disconnection Failure"},
    };
    for (const auto& c : cases) {
        state.SetText(""); // the cycle clears it before it dials
        c.raise();
        EXPECT_EQ(state.Text(), c.text);
    }
    // A failure reported by every layer it passes writes the same text each time.
    std::vector<std::string> seen;
    state.Change.Add([&] { seen.push_back(state.Text()); });
    state.SetText("");
    for (int layer = 0; layer < 3; ++layer)
        dialUp.ConnectFailed.Raise("Office", err);
    EXPECT_THAT(seen, ElementsAre("", "Connection Failure"));
}

} // namespace
