// Starts the real Vigil.exe and edits its site list through the window's own messages.
#include "tests/support/remote_process.h"
#include "tests/support/test_env.h"
#include "tests/vigil/vigil_fixture.h"
#include "vigil/shell/win32/control_ids.h"

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

using testenv::RemoteProcess;
using testenv::TextOf;

namespace {

class VigilWindow : public ::testing::Test {
protected:
    void SetUp() override {
        vigiltest::ForgetSettings();
        vigil_ = vigiltest::StartVigil();
        ASSERT_TRUE(vigil_->Started()) << "could not start Vigil.exe";
        main_ = vigil_->WaitForWindow("Vigil - Tessaly Ltd", 30000);
        ASSERT_NE(main_, nullptr) << "the main window did not appear";
        list_ = GetDlgItem(main_, IDC_LISTVIEW1);
        ASSERT_NE(list_, nullptr);
    }

    void AddSite(const std::string& address) {
        SendMessageA(GetDlgItem(main_, IDC_DOMAINTOADD), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(address.c_str()));
        SendMessageA(GetDlgItem(main_, IDC_ADDDOMAIN), BM_CLICK, 0, 0);
    }

    std::unique_ptr<RemoteProcess> vigil_;
    HWND main_ = nullptr;
    HWND list_ = nullptr;
};

} // namespace

TEST_F(VigilWindow, AddsTwoSitesAndRemovesOneThroughTheRealControls) {
    using vigiltest::Plain;
    EXPECT_EQ(Plain(TextOf(GetDlgItem(main_, IDC_ADDDOMAIN))), "Add URL");
    EXPECT_EQ(Plain(TextOf(GetDlgItem(main_, IDC_COMMAND1))), "Remove URL");
    EXPECT_EQ(TextOf(GetDlgItem(main_, IDC_DOMAINTOADD)), "http://www.");
    EXPECT_EQ(TextOf(GetDlgItem(main_, IDC_FRAME1)), "Domains");

    // A first run starts with the vendor's page as its one site.
    ASSERT_EQ(vigil_->ListViewCount(list_), 1);
    AddSite("http://www.first.example/");
    AddSite("http://second.example/page");
    ASSERT_EQ(vigil_->ListViewCount(list_), 3);
    EXPECT_EQ(vigil_->ListViewText(list_, 1, 0), "www.first.example/");
    EXPECT_EQ(vigil_->ListViewText(list_, 1, 1), "?");
    EXPECT_EQ(vigil_->ListViewText(list_, 2, 0), "second.example/page");
    EXPECT_EQ(TextOf(GetDlgItem(main_, IDC_WEBCOUNT)), "3");
    EXPECT_EQ(TextOf(GetDlgItem(main_, IDC_DOMAINTOADD)), "http://second.example/page");

    // Remove the added first row: select it as the user would, then press the button through
    // the parent's WM_COMMAND.
    ASSERT_TRUE(vigil_->ListViewSelect(list_, 1));
    SendMessageA(main_, WM_COMMAND, MAKEWPARAM(IDC_COMMAND1, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(main_, IDC_COMMAND1)));
    ASSERT_EQ(vigil_->ListViewCount(list_), 2);
    EXPECT_EQ(vigil_->ListViewText(list_, 1, 0), "second.example/page");
    EXPECT_EQ(TextOf(GetDlgItem(main_, IDC_WEBCOUNT)), "2");

    // The column widths are those of the site list, in points on this screen.
    EXPECT_GT(SendMessageA(list_, LVM_GETCOLUMNWIDTH, 0, 0), 100);
    EXPECT_GT(SendMessageA(list_, LVM_GETCOLUMNWIDTH, 1, 0), 20);
}

TEST_F(VigilWindow, ViewInternalShowsTheHiddenSettingsWindow) {
    HWND settings = vigil_->WaitForWindow("Settings", 5000);
    ASSERT_NE(settings, nullptr);
    EXPECT_FALSE(IsWindowVisible(settings));
    AddSite("ViewInternal");
    EXPECT_TRUE(IsWindowVisible(settings));
    EXPECT_NE(GetDlgItem(settings, IDC_DIALSTATE), nullptr);
    EXPECT_EQ(vigil_->ListViewCount(list_), 1);
    EXPECT_EQ(TextOf(GetDlgItem(main_, IDC_DOMAINTOADD)), "http://");
}

TEST_F(VigilWindow, ClosingTheMainWindowEndsTheProgram) {
    PostMessageA(main_, WM_CLOSE, 0, 0);
    EXPECT_EQ(vigil_->WaitForExit(15000), 0);
}
