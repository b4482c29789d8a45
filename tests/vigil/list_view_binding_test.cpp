// A real list view control follows the headless ListView: rows refill it, a changed cell is
// rewritten in place.
#include "vigil/forms/list_view.h"
#include "vigil/forms/win32/control_binding.h"

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

namespace {

std::string CellText(HWND list, int index, int subItem) {
    char buffer[256] = {};
    LVITEMA item{};
    item.iSubItem = subItem;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
    return buffer;
}

LPARAM ItemParam(HWND list, int index) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
}

struct ListViewBinding : ::testing::Test {
    vigil::forms::ListView view{"ListView1", {{"Domain", 142.98}, {"Status", 34.99843}}};
    vigil::forms::win32::ControlBinding binding;
    HWND list = nullptr;

    ListViewBinding() {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&icc);
        list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_POPUP | LVS_REPORT, 0, 0, 300, 200, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~ListViewBinding() override {
        if (list)
            DestroyWindow(list);
    }
};

} // namespace

TEST_F(ListViewBinding, ChangedCellIsRewrittenInPlace) {
    ASSERT_NE(list, nullptr);
    binding.BindListView(list, view);
    for (const char* site : {"a.example/", "b.example/", "c.example/"}) {
        int row = view.AddRow(site);
        view.SetSubItem(row, 1, "?");
    }
    ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 3);

    // A mark only the real control holds: a refill of the rows would lose it.
    LVITEMA tag{};
    tag.mask = LVIF_PARAM;
    tag.iItem = 0;
    tag.lParam = 42;
    SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tag));

    view.SetSubItem(2, 1, "Err");
    view.SetSubItem(3, 1, "Ok");
    view.SetRowText(1, "a2.example/");

    EXPECT_EQ(CellText(list, 0, 0), "a2.example/");
    EXPECT_EQ(CellText(list, 0, 1), "?");
    EXPECT_EQ(CellText(list, 1, 1), "Err");
    EXPECT_EQ(CellText(list, 2, 1), "Ok");
    EXPECT_EQ(CellText(list, 2, 0), "c.example/");
    EXPECT_EQ(ItemParam(list, 0), 42);

    // Removing a row still refills the control from the rows.
    EXPECT_TRUE(view.RemoveRow(1));
    ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(CellText(list, 0, 1), "Err");
    EXPECT_EQ(CellText(list, 1, 0), "c.example/");
}
