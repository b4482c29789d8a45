#include "vigil/forms/tab_strip.h"

#include <gtest/gtest.h>

using namespace vigil::forms;

TEST(TabStrip, SelectionRaisesClickOnChangeAndRefusesTabsOutside) {
    TabStrip strip("TabStrip1", {"Monitor", "Options", "About"});
    std::string seen;
    strip.Click.Add([&] { seen += strip.SelectedCaption() + ";"; });
    EXPECT_EQ(strip.SelectedIndex(), 0);
    EXPECT_TRUE(strip.Select(2));
    EXPECT_TRUE(strip.Select(2)); // already selected: no event
    EXPECT_FALSE(strip.Select(3));
    EXPECT_FALSE(strip.Select(-1));
    EXPECT_EQ(strip.SelectedIndex(), 2);
    strip.ClickTab(2); // the user's click on the selected tab still clicks
    strip.ClickTab(1);
    strip.SetEnabled(false);
    strip.ClickTab(0);
    EXPECT_EQ(seen, "About;About;Options;");
    EXPECT_EQ(strip.TabCaption(5), "");
}

TEST(TabStrip, EmptyStripHasNoSelection) {
    TabStrip strip("t", {});
    EXPECT_EQ(strip.SelectedIndex(), -1);
    EXPECT_EQ(strip.SelectedCaption(), "");
    EXPECT_FALSE(strip.Select(0));
}
