#include "vigil/shell/show_switch.h"

#include <gtest/gtest.h>

namespace vigil::shell {
namespace {

TEST(ShowSwitch, FindsTheViewInACommandLine) {
    EXPECT_EQ(ShowSwitch(""), std::nullopt);
    EXPECT_EQ(ShowSwitch("/other"), std::nullopt);
    EXPECT_EQ(ShowSwitch("/show:options.audio"), "options.audio");
    EXPECT_EQ(ShowSwitch("\"C:\\Vigil.exe\" /show:about /x"), "about");
}

TEST(ShowSwitch, ShowsTheNamedViewAndRefusesOthers) {
    forms::Windows w;
    EXPECT_TRUE(ShowView(w, "emailer"));
    EXPECT_TRUE(w.emailer.Visible());
    EXPECT_TRUE(ShowView(w, "connection.proxy"));
    EXPECT_EQ(w.form1.TabStrip1.SelectedCaption(), forms::kTabConnection);
    EXPECT_TRUE(w.form1.frmProxy.Visible());
    EXPECT_FALSE(w.form1.frmIE.Visible());
    EXPECT_FALSE(ShowView(w, "nothing"));
}

} // namespace
} // namespace vigil::shell
