#include "vigil/shell/cycle_tray.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

using namespace vigil::shell;

namespace {

struct RecordingShell : TrayShell {
    std::vector<NotifyIconRecord> modified;
    void NotifyIcon(NotifyIconAction action, const NotifyIconRecord& record) override {
        if (action == NotifyIconAction::Modify)
            modified.push_back(record);
    }
    void SetForeground() override {}
    int TrackPopupMenu(const std::vector<PopupMenuLine>&, int) override { return -1; }
};

struct NamedIcons : IconLibrary {
    std::map<std::string, std::uintptr_t> handles{{"GREEN", 0x20}, {"NOWEB", 0x30}};
    std::uintptr_t LoadIconResource(const std::string& name) override { return handles[name]; }
};

} // namespace

TEST(CycleTrayIcon, TipAndIconReachTheTrayComponent) {
    RecordingShell shell;
    NamedIcons icons;
    frmSysTray tray(shell);
    tray.Load(0x100, 0x10, "Vigil");
    CycleTrayIcon view(tray, icons);

    view.SetToolTip("Checking http://www.example.com/");
    view.SetIcon("GREEN");
    view.SetIcon("GREEN"); // the same handle: nothing sent
    view.SetIcon("NOWEB");

    EXPECT_EQ(tray.ToolTip(), "Checking http://www.example.com/");
    EXPECT_EQ(tray.IconHandle(), 0x30u);
    ASSERT_EQ(shell.modified.size(), 3u);
    EXPECT_EQ(shell.modified[0].uFlags, NIF_TIP_FLAG);
    EXPECT_EQ(shell.modified[1].hIcon, 0x20u);
    EXPECT_EQ(shell.modified[2].hIcon, 0x30u);
}
