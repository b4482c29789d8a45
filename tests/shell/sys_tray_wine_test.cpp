// The tray icon's hidden window under Wine: its class and caption, the icon record the shell
// gets, the shell's callback decoded from lParam, and the pop-up menu with its bold default
// item, driven from the keyboard inside the menu's own loop.
#include "vigil/shell/win32/sys_tray_window.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace vigil::shell;
using ::testing::ElementsAre;

namespace {

HICON Icon(const char* name) {
    return LoadIconA(GetModuleHandleA(nullptr), name);
}

struct MenuSeen {
    std::vector<std::string> lines; // caption, "*" after the bold one, "~" after a grey one
    bool seen = false;
};

MenuSeen g_menu;
std::vector<WPARAM> g_keys; // keys to send once the menu is up

HMENU OpenMenu() {
    HWND menuWindow = FindWindowA("#32768", nullptr);
    if (!menuWindow)
        return nullptr;
    return reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
}

void CALLBACK WatchMenu(HWND, UINT, UINT_PTR id, DWORD) {
    HMENU menu = OpenMenu();
    if (!menu)
        return;
    KillTimer(nullptr, id);
    g_menu.seen = true;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[80] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE | MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof(text);
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        std::string line = (info.fType & MFT_SEPARATOR) ? "-" : text;
        if (info.fState & MFS_DEFAULT)
            line += "*";
        if ((info.fState & MFS_GRAYED) && !(info.fType & MFT_SEPARATOR))
            line += "~";
        g_menu.lines.push_back(line);
    }
    if (g_keys.empty()) {
        EndMenu();
        return;
    }
    HWND menuWindow = FindWindowA("#32768", nullptr);
    // The menu's loop chooses on the Enter character, which the arrows' key-downs lead to.
    for (WPARAM key : g_keys)
        PostMessageA(menuWindow, key == VK_RETURN ? WM_CHAR : WM_KEYDOWN,
                     key == VK_RETURN ? '\r' : key, 0);
}

struct Fixture : ::testing::Test {
    void SetUp() override {
        g_menu = {};
        g_keys.clear();
    }
};

TEST_F(Fixture, IsAHiddenWindowOfItsOwnClassAndCaption) {
    SysTrayWindow window(Icon("NORMAL"), "Vigil web site monitor");
    ASSERT_NE(window.Handle(), nullptr);
    EXPECT_EQ(FindWindowA("frmSysTray", "Sys Tray Interface"), window.Handle());
    EXPECT_FALSE(IsWindowVisible(window.Handle()));
    const NotifyIconRecord& r = window.Tray().Record();
    EXPECT_EQ(r.hWnd, reinterpret_cast<std::uintptr_t>(window.Handle()));
    EXPECT_EQ(r.uID, static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(Icon("NORMAL"))));
    EXPECT_EQ(window.Tray().ToolTip(), "Vigil web site monitor");
}

TEST(NotifyIconData, CarriesTheRecordInTheClassicForm) {
    NotifyIconRecord r;
    r.hWnd = 0x1230;
    r.uID = 0x4560;
    r.uFlags = 7;
    r.uCallbackMessage = 512;
    r.hIcon = 0x7890;
    r.szTip = TipField(std::string(70, 'v'));
    NOTIFYICONDATAA data = ToNotifyIconData(r);
    EXPECT_EQ(data.cbSize, NOTIFYICONDATAA_V1_SIZE);
    EXPECT_EQ(data.cbSize, offsetof(NOTIFYICONDATAA, szTip) + 64);
    EXPECT_EQ(data.hWnd, reinterpret_cast<HWND>(0x1230));
    EXPECT_EQ(data.uID, 0x4560u);
    EXPECT_EQ(data.uFlags, 7u);
    EXPECT_EQ(data.uCallbackMessage, 512u);
    EXPECT_EQ(data.hIcon, reinterpret_cast<HICON>(0x7890));
    EXPECT_EQ(std::string(data.szTip), std::string(63, 'v'));
    if (sizeof(void*) == 4) {
        EXPECT_EQ(data.cbSize, 88u);
    }
}

TEST_F(Fixture, TheCallbackMessageIsDecodedFromItsLParam) {
    SysTrayWindow window(Icon("NORMAL"), "Vigil");
    std::vector<std::string> seen;
    auto& tray = window.Tray();
    tray.SysTrayMouseDown.Add([&](int b) { seen.push_back("down" + std::to_string(b)); });
    tray.SysTrayMouseUp.Add([&](int b) { seen.push_back("up" + std::to_string(b)); });
    tray.SysTrayMouseMove.Add([&] { seen.push_back("move"); });
    tray.SysTrayDoubleClick.Add([&](int b) { seen.push_back("double" + std::to_string(b)); });
    const WPARAM id = window.Tray().Record().uID;
    for (LPARAM mouse : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK,
                         WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK, WM_MBUTTONDOWN})
        PostMessageA(window.Handle(), WM_MOUSEMOVE, id, mouse);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    EXPECT_THAT(seen, ElementsAre("move", "down1", "double1", "down2", "up2", "double2"));
}

TEST_F(Fixture, ARightPressPopsUpTheMenuWithOpenVigilBoldAndAChoiceRunsItsKey) {
    SysTrayWindow window(Icon("NORMAL"), "Vigil");
    Win32IconLibrary icons(GetModuleHandleA(nullptr));
    SetUpTray(window.Tray(), icons);
    window.Tray().EnableMenuItem(2, false);
    EXPECT_EQ(window.Tray().IconHandle(), reinterpret_cast<std::uintptr_t>(Icon("NORMAL")));
    std::vector<std::string> ran;
    auto note = [&ran](const char* what) { return [&ran, what] { ran.push_back(what); }; };
    WireTrayEvents(window.Tray(), {note("open"), note("status"), note("report"), note("check"),
                                   note("webSite"), note("close"), note("doubleClick")});

    // Four steps down (through the grey item, over the separator), Enter: "Check Now".
    g_keys = {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN};
    SetTimer(nullptr, 0, 50, WatchMenu);
    SendMessageA(window.Handle(), WM_MOUSEMOVE, 0, WM_RBUTTONDOWN);
    ASSERT_TRUE(g_menu.seen);
    EXPECT_THAT(g_menu.lines, ElementsAre("Open Vigil*", "Status Graph", "Show Report~", "-",
                                          "Check Now", "-", "Visit Vigil Web Site", "Quit Vigil"));
    EXPECT_THAT(ran, ElementsAre("check"));

    // Dismissed: nothing runs.
    g_menu = {};
    g_keys.clear();
    SetTimer(nullptr, 0, 50, WatchMenu);
    SendMessageA(window.Handle(), WM_MOUSEMOVE, 0, WM_RBUTTONDOWN);
    EXPECT_TRUE(g_menu.seen);
    EXPECT_THAT(ran, ElementsAre("check"));
}

TEST_F(Fixture, WithoutADefaultNoItemIsBold) {
    SysTrayWindow window(Icon("NORMAL"), "Vigil");
    window.Tray().AddMenuItem("One", "one");
    window.Tray().AddMenuItem("Two", "two");
    window.Tray().RemoveMenuItem(1);
    window.Tray().SetDefaultMenuIndex(1); // outside the bounds now: falls back to 0
    SetTimer(nullptr, 0, 50, WatchMenu);
    window.Tray().ShowMenu();
    EXPECT_THAT(g_menu.lines, ElementsAre("One*"));
}

} // namespace
