// The notification-area icon component against a recorded shell.
#include "vigil/shell/sys_tray.h"
#include "vigil/shell/tray_menu.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

using namespace vigil::shell;
using ::testing::ElementsAre;

namespace {

struct RecordingShell : TrayShell {
    struct Sent {
        NotifyIconAction action;
        NotifyIconRecord record;
    };
    std::vector<Sent> sent;
    std::vector<std::string> calls;
    std::vector<PopupMenuLine> shownLines;
    int shownBold = -99;
    int choice = -1;

    void NotifyIcon(NotifyIconAction action, const NotifyIconRecord& record) override {
        sent.push_back({action, record});
    }
    void SetForeground() override { calls.push_back("foreground"); }
    int TrackPopupMenu(const std::vector<PopupMenuLine>& lines, int boldIndex) override {
        calls.push_back("menu");
        shownLines = lines;
        shownBold = boldIndex;
        return choice;
    }
};

struct FakeIcons : IconLibrary {
    std::map<std::string, std::uintptr_t> handles{{"NORMAL", 10}, {"BLANK", 11}, {"GREEN", 12},
                                                  {"YELLOW", 13}, {"RED", 14},   {"NOWEB", 15}};
    std::vector<std::string> loads;
    std::uintptr_t LoadIconResource(const std::string& name) override {
        loads.push_back(name);
        return handles.at(name);
    }
};

std::vector<std::string> Captions(const frmSysTray& tray) {
    std::vector<std::string> out;
    for (const auto& item : tray.mnuSysTray())
        out.push_back(item.caption + "/" + item.tag);
    return out;
}

class SysTray : public ::testing::Test {
protected:
    RecordingShell shell;
    frmSysTray tray{shell};
};

TEST_F(SysTray, LoadAddsTheIconWithTheWholeRecord) {
    tray.Load(0x1234, 0x77, "Vigil site monitor");
    ASSERT_EQ(shell.sent.size(), 1u);
    const auto& [action, r] = shell.sent[0];
    EXPECT_EQ(action, NotifyIconAction::Add);
    EXPECT_EQ(r.hWnd, 0x1234u);
    EXPECT_EQ(r.uID, 0x77u);
    EXPECT_EQ(r.hIcon, 0x77u);
    EXPECT_EQ(r.uFlags, 7u);
    EXPECT_EQ(r.uCallbackMessage, 512u);
    EXPECT_EQ(r.szTip, TipField("Vigil site monitor"));
    EXPECT_EQ(tray.ToolTip(), "Vigil site monitor");
}

TEST_F(SysTray, TipIsCutToTheRecordAndPadded) {
    tray.Load(1, 2, "x");
    struct Case {
        std::string written, read;
    };
    const std::string seventy(70, 'a');
    const std::vector<Case> cases = {
        {"Vigil", "Vigil"},
        {"", ""},
        {std::string(63, 'b'), std::string(63, 'b')},
        {std::string(64, 'c'), std::string(63, 'c')},
        {seventy, seventy.substr(0, 63)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written.size());
        shell.sent.clear();
        tray.SetToolTip(c.written);
        EXPECT_EQ(tray.ToolTip(), c.read);
        ASSERT_EQ(shell.sent.size(), 1u);
        const std::string& field = shell.sent[0].record.szTip;
        ASSERT_EQ(field.size(), 64u);
        EXPECT_EQ(field.substr(0, c.read.size()), c.read);
        EXPECT_EQ(field[c.read.size()], '\0');
        EXPECT_EQ(field.find_first_not_of(' ', c.read.size() + 1), std::string::npos);
        EXPECT_EQ(shell.sent[0].action, NotifyIconAction::Modify);
        EXPECT_EQ(shell.sent[0].record.uFlags, 4u);
    }
}

TEST_F(SysTray, ANewIconHandleIsSentOnceAndTheSameOneNever) {
    tray.Load(1, 2, "x");
    shell.sent.clear();
    tray.SetIconHandle(40);
    tray.SetIconHandle(40);
    ASSERT_EQ(shell.sent.size(), 1u);
    EXPECT_EQ(shell.sent[0].action, NotifyIconAction::Modify);
    EXPECT_EQ(shell.sent[0].record.uFlags, 2u);
    EXPECT_EQ(shell.sent[0].record.hIcon, 40u);
    EXPECT_EQ(tray.IconHandle(), 40u);
    tray.SetIconHandle(2); // the load's own icon again
    EXPECT_EQ(shell.sent.size(), 2u);
}

TEST_F(SysTray, TheIconIsDeletedOnceByUnloadOrByDestruction) {
    tray.Load(1, 2, "x");
    tray.Unload();
    tray.Unload();
    ASSERT_EQ(shell.sent.size(), 2u);
    EXPECT_EQ(shell.sent[1].action, NotifyIconAction::Delete);
    EXPECT_EQ(shell.sent[1].record.hWnd, 1u);
    EXPECT_EQ(shell.sent[1].record.uID, 2u);

    RecordingShell other;
    {
        frmSysTray scoped(other);
        scoped.Load(5, 6, "y");
    }
    ASSERT_EQ(other.sent.size(), 2u);
    EXPECT_EQ(other.sent[1].action, NotifyIconAction::Delete);
    EXPECT_EQ(other.sent[1].record.uID, 6u);
}

TEST_F(SysTray, MenuItemsFillElementZeroFirstThenGrow) {
    EXPECT_EQ(tray.AddMenuItem("Open Vigil", "open", false), 0);
    EXPECT_EQ(tray.AddMenuItem("Check Now", "check", true), 1);
    EXPECT_EQ(tray.AddMenuItem("Quit Vigil", "close", false), 2);
    EXPECT_THAT(Captions(tray),
                ElementsAre("Open Vigil/open", "Check Now/check", "Quit Vigil/close"));
    EXPECT_EQ(tray.DefaultMenuIndex(), 1);
    for (const auto& item : tray.mnuSysTray())
        EXPECT_TRUE(item.visible);
}

TEST_F(SysTray, RemovingAnItemMovesTheLaterOnesDown) {
    for (const char* c : {"a", "b", "c", "d", "e"})
        tray.AddMenuItem(c, std::string("k") + c, false);
    tray.RemoveMenuItem(2);
    EXPECT_THAT(Captions(tray), ElementsAre("a/ka", "b/kb", "d/kd", "e/ke"));
    tray.RemoveMenuItem(0); // element 0 stays, only its caption goes
    EXPECT_THAT(Captions(tray), ElementsAre("/ka", "b/kb", "d/kd", "e/ke"));
    tray.RemoveMenuItem(4);
    tray.RemoveMenuItem(-1);
    EXPECT_EQ(tray.mnuSysTray().size(), 4u);
    tray.RemoveMenuItem(3);
    EXPECT_THAT(Captions(tray), ElementsAre("/ka", "b/kb", "d/kd"));
}

TEST_F(SysTray, DefaultIndexOutsideTheBoundsFallsBackToZero) {
    tray.AddMenuItem("a", "ka");
    tray.AddMenuItem("b", "kb");
    const std::vector<std::pair<int, int>> cases = {{1, 1}, {0, 0}, {2, 0}, {-1, 0}, {99, 0}};
    for (const auto& [written, read] : cases) {
        tray.SetDefaultMenuIndex(written);
        EXPECT_EQ(tray.DefaultMenuIndex(), read) << written;
    }
}

TEST_F(SysTray, EnableMenuItemInsideTheBoundsOnly) {
    tray.AddMenuItem("a", "ka");
    tray.AddMenuItem("b", "kb");
    tray.EnableMenuItem(1, false);
    tray.EnableMenuItem(5, false);
    tray.EnableMenuItem(-1, false);
    EXPECT_TRUE(tray.mnuSysTray()[0].enabled);
    EXPECT_FALSE(tray.mnuSysTray()[1].enabled);
}

TEST_F(SysTray, ShowMenuComesForwardThenRaisesTheChosenItemsIndexAndKey) {
    tray.AddMenuItem("a", "ka");
    tray.AddMenuItem("-", "");
    tray.AddMenuItem("c", "kc");
    tray.EnableMenuItem(2, false);
    std::vector<std::string> clicks;
    tray.MenuClick.Add(
        [&](int i, const std::string& k) { clicks.push_back(std::to_string(i) + k); });

    shell.choice = 2;
    tray.ShowMenu();
    EXPECT_THAT(shell.calls, ElementsAre("foreground", "menu"));
    EXPECT_EQ(shell.shownBold, 0);
    ASSERT_EQ(shell.shownLines.size(), 3u);
    EXPECT_EQ(shell.shownLines[1].caption, "-");
    EXPECT_FALSE(shell.shownLines[2].enabled);
    EXPECT_THAT(clicks, ElementsAre("2kc"));

    shell.choice = -1; // dismissed
    tray.ShowMenu();
    EXPECT_EQ(clicks.size(), 1u);
}

TEST_F(SysTray, AFreshMenuHasItsHiddenDesignElementOnly) {
    shell.choice = -1;
    tray.ShowMenu();
    ASSERT_EQ(shell.shownLines.size(), 1u);
    EXPECT_FALSE(shell.shownLines[0].visible);
}

TEST(TrayMouse, DecodesEachMouseMessage) {
    using K = TrayMouseEvent;
    const std::vector<std::pair<std::uint32_t, TrayMouseEvent>> cases = {
        {512, {K::MouseMove, 0}},   {513, {K::None, 0}},      {514, {K::MouseDown, 1}},
        {515, {K::DoubleClick, 1}}, {516, {K::MouseDown, 2}}, {517, {K::MouseUp, 2}},
        {518, {K::DoubleClick, 2}}, {519, {K::None, 0}},      {0, {K::None, 0}},
        {511, {K::None, 0}},        {0x10204, {K::None, 0}},
    };
    for (const auto& [message, expected] : cases)
        EXPECT_EQ(DecodeTrayMouse(message), expected) << message;
}

TEST_F(SysTray, CallbacksRaiseTheirEvents) {
    std::vector<std::string> seen;
    tray.SysTrayMouseDown.Add([&](int b) { seen.push_back("down" + std::to_string(b)); });
    tray.SysTrayMouseUp.Add([&](int b) { seen.push_back("up" + std::to_string(b)); });
    tray.SysTrayMouseMove.Add([&] { seen.push_back("move"); });
    tray.SysTrayDoubleClick.Add([&](int b) { seen.push_back("double" + std::to_string(b)); });
    for (std::uint32_t m : {512u, 513u, 514u, 515u, 516u, 517u, 518u, 600u})
        tray.OnTrayCallback(m);
    EXPECT_THAT(seen, ElementsAre("move", "down1", "double1", "down2", "up2", "double2"));
}

class VigilTray : public SysTray {
protected:
    FakeIcons icons;
    std::vector<std::string> actions;
    TrayActions Actions() {
        auto note = [this](const char* what) { return [this, what] { actions.push_back(what); }; };
        return {note("open"),    note("status"), note("report"),     note("check"),
                note("webSite"), note("close"),  note("doubleClick")};
    }
};

TEST_F(VigilTray, StartUpBuildsTheEightItemsWithOpenVigilBold) {
    tray.Load(1, 2, "x");
    SetUpTray(tray, icons);
    EXPECT_THAT(Captions(tray), ElementsAre("Open Vigil/open", "Status Graph/status",
                                            "Show Report/report", "-/", "Check Now/check", "-/",
                                            "Visit Vigil Web Site/webSite", "Quit Vigil/close"));
    EXPECT_EQ(tray.DefaultMenuIndex(), 0);
    EXPECT_EQ(tray.ToolTip(), "Vigil");
    EXPECT_EQ(tray.IconHandle(), 10u);
}

TEST_F(VigilTray, RightPressShowsTheMenuAndEachKeyRunsItsAction) {
    tray.Load(1, 2, "x");
    SetUpTray(tray, icons);
    WireTrayEvents(tray, Actions());

    tray.OnTrayCallback(514); // left click: nothing
    tray.OnTrayCallback(517); // right release: nothing
    EXPECT_TRUE(shell.calls.empty());
    for (int item = 0; item < 8; ++item) {
        shell.choice = item;
        tray.OnTrayCallback(516);
    }
    EXPECT_EQ(shell.shownBold, 0);
    EXPECT_THAT(actions, ElementsAre("open", "status", "report", "check", "webSite", "close"));
    actions.clear();
    tray.OnTrayCallback(515);
    tray.OnTrayCallback(518);
    EXPECT_THAT(actions, ElementsAre("doubleClick", "doubleClick"));
    actions.clear();
    RunTrayMenuKey("nothing", Actions());
    RunTrayMenuKey("", Actions());
    EXPECT_TRUE(actions.empty());
}

TEST_F(VigilTray, BlinksBetweenNormalAndTheStateIcon) {
    tray.Load(1, 2, "x");
    SetUpTray(tray, icons);
    icons.loads.clear();
    std::string iconState = "Normal"; // the label's design caption
    std::vector<std::string> shown;
    for (int tick = 0; tick < 5; ++tick) {
        TrayBlinkTick(tray, icons, "BLANK", iconState);
        shown.push_back(iconState);
    }
    EXPECT_THAT(shown, ElementsAre("NORMAL", "BLANK", "NORMAL", "BLANK", "NORMAL"));
    EXPECT_EQ(icons.loads, shown); // each tick loads its icon afresh
    EXPECT_EQ(tray.IconHandle(), 10u);
    TrayBlinkTick(tray, icons, "RED", iconState);
    EXPECT_EQ(iconState, "RED");
    EXPECT_EQ(tray.IconHandle(), 14u);
}

TEST_F(VigilTray, ConnectionWatchShowsOnlineStateOnlyWhenMonitoring) {
    tray.Load(1, 2, "x");
    SetUpTray(tray, icons);
    vigil::forms::Form1 form;
    bool online = false;
    int asked = 0;
    BindTrayTimers(form, tray, icons, [&] {
        ++asked;
        return online;
    });
    form.webCheck.SetEnabled(true);
    tray.SetIconHandle(14); // a cycle's result icon
    form.webCheck.Tick();
    EXPECT_EQ(tray.IconHandle(), 14u); // monWeb unchecked: nothing, not even a question
    EXPECT_EQ(asked, 0);
    form.monWeb.SetValue(1);
    form.webCheck.Tick();
    EXPECT_EQ(tray.IconHandle(), 15u);
    online = true;
    form.webCheck.Tick();
    EXPECT_EQ(tray.IconHandle(), 10u);
    EXPECT_EQ(asked, 2);
}

TEST_F(VigilTray, TheBlinkTimerWorksOnTheHiddenLabels) {
    tray.Load(1, 2, "x");
    SetUpTray(tray, icons);
    vigil::forms::Form1 form;
    BindTrayTimers(form, tray, icons, [] { return true; });
    form.tmrTray.Tick(); // disabled at design time
    EXPECT_EQ(form.iconState.Caption(), "Normal");
    form.iconName.SetCaption("BLANK");
    form.tmrTray.SetEnabled(true);
    std::vector<std::uintptr_t> shown;
    for (int tick = 0; tick < 4; ++tick) {
        form.tmrTray.Tick();
        shown.push_back(tray.IconHandle());
    }
    EXPECT_THAT(shown, ElementsAre(10u, 11u, 10u, 11u));
    EXPECT_EQ(form.iconState.Caption(), "BLANK");
}

} // namespace
