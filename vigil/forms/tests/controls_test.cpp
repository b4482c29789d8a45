#include "vigil/forms/controls.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace vigil::forms;

TEST(Controls, TextBoxRaisesChangeOnProgrammaticChangeOnly) {
    TextBox box("t", "a");
    int changes = 0;
    box.Change.Add([&] { ++changes; });
    box.SetText("b");
    box.SetText("b"); // same text: no event
    box.SetText("");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(box.Text(), "");
}

TEST(Controls, DisabledButtonIgnoresClicks) {
    Button button("b", "Add URL");
    int clicks = 0;
    button.Clicked.Add([&] { ++clicks; });
    button.Click();
    button.SetEnabled(false);
    button.Click();
    button.SetEnabled(true);
    button.Click();
    EXPECT_EQ(clicks, 2);
}

TEST(Controls, CheckBoxRaisesClickWhenProgramChangesValue) {
    CheckBox box("c");
    int clicks = 0;
    box.Clicked.Add([&] { ++clicks; });
    box.SetValue(1);
    box.SetValue(1);
    box.Click();
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(box.Value(), 0);
}

TEST(Controls, ListBoxRefusesOutOfRangeAndKeepsSelectionOnSameEntry) {
    ListBox list("l");
    EXPECT_TRUE(list.AddItem("a"));
    EXPECT_TRUE(list.AddItem("c"));
    EXPECT_TRUE(list.AddItem("b", 1));
    EXPECT_FALSE(list.AddItem("x", 5));
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_TRUE(list.SetListIndex(2));
    EXPECT_TRUE(list.RemoveItem(0));
    EXPECT_EQ(list.ListIndex(), 1); // still "c"
    EXPECT_TRUE(list.RemoveItem(1));
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_FALSE(list.RemoveItem(-1));
    EXPECT_FALSE(list.RemoveItem(1));
    EXPECT_EQ(list.List(7), "");
}

TEST(Controls, ComboBoxSelectionSetsTextAndRaisesClick) {
    ComboBox combo("c");
    combo.AddItem("one");
    combo.AddItem("two");
    int clicks = 0, changes = 0;
    combo.Click.Add([&] { ++clicks; });
    combo.Change.Add([&] { ++changes; });
    combo.SetListIndex(1);
    EXPECT_EQ(combo.Text(), "two");
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(combo.SetListIndex(2));
}

TEST(Controls, ListViewRowsAreOneBasedAndSelectionFollowsRemoval) {
    ListView view("v", {{"Domain", 1}, {"Status", 1}});
    int rowsChanged = 0;
    std::vector<std::pair<int, int>> cells;
    view.RowsChanged.Add([&] { ++rowsChanged; });
    view.CellChanged.Add([&](int row, int sub) { cells.emplace_back(row, sub); });
    EXPECT_EQ(view.AddRow("a"), 1);
    EXPECT_EQ(view.AddRow("b"), 2);
    EXPECT_TRUE(view.SetSubItem(2, 1, "Ok"));
    EXPECT_FALSE(view.SetSubItem(3, 1, "x"));
    EXPECT_EQ(view.SubItem(2, 1), "Ok");
    EXPECT_EQ(view.SubItem(1, 1), "");
    EXPECT_TRUE(view.SelectRow(2));
    EXPECT_TRUE(view.RemoveRow(1));
    EXPECT_EQ(view.SelectedRow(), 1);
    EXPECT_FALSE(view.RemoveRow(0));
    EXPECT_TRUE(view.SetRowText(1, "b2"));
    EXPECT_EQ(rowsChanged, 3); // the two rows added and the one removed
    EXPECT_EQ(cells, (std::vector<std::pair<int, int>>{{2, 1}, {1, 0}}));
    EXPECT_FALSE(view.SetColumnWidth(3, 10));
}

TEST(Controls, RangeControlsClampAndTimerTicksOnlyWhenEnabled) {
    Slider slider("s", 1, 10, 5);
    slider.SetValue(50);
    EXPECT_EQ(slider.Value(), 10);
    slider.SetValue(-3);
    EXPECT_EQ(slider.Value(), 1);

    Timer timer("t", 500);
    int ticks = 0;
    timer.Elapsed.Add([&] { ++ticks; });
    timer.Tick();
    timer.SetEnabled(true);
    timer.Tick();
    EXPECT_EQ(ticks, 1);
}

TEST(Controls, RichTextAppendReportsOnlyTheAddedText) {
    RichText log("report");
    std::string added;
    log.Appended.Add([&](const std::string& text) { added += "[" + text + "]"; });
    log.Append("one\r\n");
    log.Append("two\r\n");
    EXPECT_EQ(log.Text(), "one\r\ntwo\r\n");
    EXPECT_EQ(added, "[one\r\n][two\r\n]");
}
