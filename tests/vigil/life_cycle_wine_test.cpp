// The real Vigil.exe's life cycle and main window behaviour, driven through real messages:
// restart, single instance, start minimised, the splash, tab switching, the key filter and a
// cancelled browse.
#include "tests/vigil/vigil_fixture.h"

#include <commctrl.h>

using testenv::TextOf;
using vigiltest::Click;
using vigiltest::PageItem;
using vigiltest::SubPageItem;

namespace {

class VigilLifeCycle : public ::testing::Test {
protected:
    void SetUp() override { vigiltest::ForgetSettings(); }

    HWND Start(std::unique_ptr<testenv::RemoteProcess>& vigil, const std::string& args = {}) {
        vigil = vigiltest::StartVigil(args);
        EXPECT_TRUE(vigil->Started());
        return vigil->WaitForWindow(vigiltest::kMainCaption, 30000);
    }

    // Waits until the window is shown (or hidden); false when it never was.
    static bool WaitVisible(HWND hwnd, bool visible, DWORD timeoutMs = 10000) {
        const DWORD start = GetTickCount();
        while ((IsWindowVisible(hwnd) != FALSE) != visible) {
            if (GetTickCount() - start > timeoutMs)
                return false;
            Sleep(50);
        }
        return true;
    }
};

} // namespace

TEST_F(VigilLifeCycle, ARestartRestoresOptionsAndSites) {
    std::unique_ptr<testenv::RemoteProcess> first;
    HWND main = Start(first);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitVisible(main, true));
    SendMessageA(GetDlgItem(main, IDC_DOMAINTOADD), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>("http://kept.example/"));
    Click(GetDlgItem(main, IDC_ADDDOMAIN));
    HWND trigger = SubPageItem(main, IDD_OPTIONSFRM, IDD_FRMSETTINGSCON, IDC_CHKTRIGGERCON);
    ASSERT_NE(trigger, nullptr);
    Click(trigger);
    EXPECT_EQ(vigiltest::ReadSetting("TriggerCon"), "1") << "a click on an option saves";
    EXPECT_EQ(vigiltest::ReadSetting("HttpStatusCheck"), "0");
    HWND status = SubPageItem(main, IDD_OPTIONSFRM, IDD_FRMSETTINGSCON, IDC_CHKHTTPSTATUS);
    ASSERT_NE(status, nullptr);
    Click(status);
    EXPECT_EQ(vigiltest::ReadSetting("HttpStatusCheck"), "1");
    SendMessageA(SubPageItem(main, IDD_OPTIONSFRM, IDD_FRMSETTINGSAUDIO, IDC_SOUNDTOPLAY1),
                 WM_SETTEXT, 0, reinterpret_cast<LPARAM>("kept.wav"));
    PostMessageA(main, WM_CLOSE, 0, 0); // the window-close quit saves everything
    ASSERT_EQ(first->WaitForExit(15000), 0);

    std::unique_ptr<testenv::RemoteProcess> second;
    main = Start(second);
    ASSERT_NE(main, nullptr);
    HWND list = GetDlgItem(main, IDC_LISTVIEW1);
    ASSERT_EQ(second->ListViewCount(list), 2);
    EXPECT_EQ(second->ListViewText(list, 1, 0), "kept.example/");
    EXPECT_EQ(SendMessageA(SubPageItem(main, IDD_OPTIONSFRM, IDD_FRMSETTINGSCON, IDC_CHKTRIGGERCON),
                           BM_GETCHECK, 0, 0),
              BST_CHECKED);
    EXPECT_EQ(SendMessageA(SubPageItem(main, IDD_OPTIONSFRM, IDD_FRMSETTINGSCON, IDC_CHKHTTPSTATUS),
                           BM_GETCHECK, 0, 0),
              BST_CHECKED);
    EXPECT_EQ(TextOf(SubPageItem(main, IDD_OPTIONSFRM, IDD_FRMSETTINGSAUDIO, IDC_SOUNDTOPLAY1)),
              "kept.wav");
}

TEST_F(VigilLifeCycle, ASecondInstanceEndsAtOnceAndTheFirstRunsOn) {
    std::unique_ptr<testenv::RemoteProcess> first;
    HWND main = Start(first);
    ASSERT_NE(main, nullptr);
    auto second = vigiltest::StartVigil();
    ASSERT_TRUE(second->Started());
    EXPECT_EQ(second->WaitForExit(20000), 0);
    EXPECT_EQ(second->WaitForWindow(vigiltest::kMainCaption, 0), nullptr);
    EXPECT_EQ(first->WaitForExit(0), -1) << "the first instance ended";
    EXPECT_TRUE(IsWindow(main));
}

TEST_F(VigilLifeCycle, TheSplashShowsTheVersionAndClosesItself) {
    std::unique_ptr<testenv::RemoteProcess> vigil;
    HWND main = Start(vigil);
    ASSERT_NE(main, nullptr);
    HWND splash = vigil->WaitForWindow("Vigil", 10000);
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(IsWindowVisible(splash) || !IsWindowVisible(main))
        << "the splash shows before the main window";
    EXPECT_EQ(TextOf(GetDlgItem(splash, IDC_LBLVERSION)), "Version 1.6.5");
    EXPECT_TRUE(WaitVisible(splash, false, 15000)) << "the splash stayed";
}

TEST_F(VigilLifeCycle, StartedMinimisedItShowsNoWindow) {
    vigiltest::WriteSetting("startMin", "1");
    std::unique_ptr<testenv::RemoteProcess> vigil;
    HWND main = Start(vigil);
    ASSERT_NE(main, nullptr);
    HWND splash = vigil->WaitForWindow("Vigil", 10000);
    ASSERT_NE(splash, nullptr);
    // The splash closes after the whole start-up has run.
    ASSERT_TRUE(WaitVisible(splash, false, 15000));
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_EQ(SendMessageA(SubPageItem(main, IDD_OPTIONSFRM, IDD_FRMSETTINGSSTART, IDC_STARTMIN),
                           BM_GETCHECK, 0, 0),
              BST_CHECKED);
}

TEST_F(VigilLifeCycle, MinimisingHidesTheWindow) {
    std::unique_ptr<testenv::RemoteProcess> vigil;
    HWND main = Start(vigil);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitVisible(main, true));
    SendMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(WaitVisible(main, false));
    EXPECT_FALSE(IsIconic(main)) << "the hidden window is set back to normal";
}

TEST_F(VigilLifeCycle, TabsSwitchPagesAndKeepTheOptionSubPage) {
    std::unique_ptr<testenv::RemoteProcess> vigil;
    HWND main = Start(vigil);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitVisible(main, true));
    HWND tabs = GetDlgItem(main, IDC_TABSTRIP1);
    const int pages[] = {IDD_MONITORINGFRM, IDD_OPTIONSFRM, IDD_FRMCONNECTION,
                         IDD_SCHEDULINGFRM, IDD_NOTIFYFRM,  IDD_FRMABOUT};
    auto shown = [&] {
        int visible = -1, count = 0;
        for (int i = 0; i < 6; ++i)
            if (IsWindowVisible(GetDlgItem(main, pages[i])))
                visible = i, ++count;
        return count == 1 ? visible : -1;
    };
    EXPECT_EQ(shown(), 0);
    // The arrow keys move the strip's selection, which notifies the window as a click does.
    SetForegroundWindow(main);
    for (int i = 1; i < 6; ++i) {
        SendMessageA(tabs, WM_KEYDOWN, VK_RIGHT, 0);
        EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), i);
        EXPECT_EQ(shown(), i) << "tab " << i;
    }
    // Back to "Options": choose "Audio options", leave the page and come back.
    for (int i = 0; i < 4; ++i)
        SendMessageA(tabs, WM_KEYDOWN, VK_LEFT, 0);
    ASSERT_EQ(shown(), 1);
    HWND options = GetDlgItem(main, IDD_OPTIONSFRM);
    Click(GetDlgItem(options, IDC_COMMAND9));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(options, IDD_FRMSETTINGSAUDIO)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(options, IDD_FRMSETTINGSSTART)));
    SendMessageA(tabs, WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageA(tabs, WM_KEYDOWN, VK_LEFT, 0);
    ASSERT_EQ(shown(), 1);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(options, IDD_FRMSETTINGSAUDIO)));
}

TEST_F(VigilLifeCycle, IntervalAndPortFieldsTakeDigitsOnly) {
    std::unique_ptr<testenv::RemoteProcess> vigil;
    HWND main = Start(vigil);
    ASSERT_NE(main, nullptr);
    // Typed only once start-up has ended (the window is shown then): start-up lets messages
    // run while it loads the frequency data, and its interval fix-up comes after that.
    ASSERT_TRUE(WaitVisible(main, true));
    const HWND fields[] = {PageItem(main, IDD_SCHEDULINGFRM, IDC_INTERVALMINS),
                           PageItem(main, IDD_SCHEDULINGFRM, IDC_INTERVALHOURS),
                           SubPageItem(main, IDD_FRMCONNECTION, IDD_FRMPROXY, IDC_PROXYPORT)};
    for (HWND field : fields) {
        ASSERT_NE(field, nullptr);
        SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
        for (char c : std::string("1a.2 x9"))
            SendMessageA(field, WM_CHAR, static_cast<unsigned char>(c), 0);
        EXPECT_EQ(TextOf(field), "129");
        SendMessageA(field, WM_CHAR, 8, 0); // Backspace passes
        EXPECT_EQ(TextOf(field), "12");
    }
    // The address field has no filter.
    HWND address = SubPageItem(main, IDD_FRMCONNECTION, IDD_FRMPROXY, IDC_PROXYIP);
    SendMessageA(address, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    for (char c : std::string("10.a"))
        SendMessageA(address, WM_CHAR, static_cast<unsigned char>(c), 0);
    EXPECT_EQ(TextOf(address), "10.a");
}

TEST_F(VigilLifeCycle, ACancelledBrowseLeavesTheFieldAndTheRegistry) {
    std::unique_ptr<testenv::RemoteProcess> vigil;
    HWND main = Start(vigil);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitVisible(main, true));
    HWND audio = GetDlgItem(GetDlgItem(main, IDD_OPTIONSFRM), IDD_FRMSETTINGSAUDIO);
    HWND field = GetDlgItem(audio, IDC_SOUNDTOPLAY1);
    // A click on an option saves the whole set, so the field's text is stored.
    Click(SubPageItem(main, IDD_OPTIONSFRM, IDD_FRMSETTINGSCON, IDC_ERRORWIN));
    const std::string text = TextOf(field);
    const std::string stored = vigiltest::ReadSetting("SoundToPlay1");
    ASSERT_EQ(stored, text);

    PostMessageA(GetDlgItem(audio, IDC_BROWSE1), BM_CLICK, 0, 0); // the dialog is modal
    HWND dialog = vigil->WaitForWindow("Open", 15000);
    ASSERT_NE(dialog, nullptr) << "no open dialog";
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    const DWORD start = GetTickCount();
    while (IsWindow(dialog) && GetTickCount() - start < 10000)
        Sleep(50);
    ASSERT_FALSE(IsWindow(dialog));
    EXPECT_EQ(TextOf(field), text);
    EXPECT_EQ(vigiltest::ReadSetting("SoundToPlay1"), stored);
}
