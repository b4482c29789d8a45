// The report window's rich edit control follows the activity log held in frmReport.report.
#include "vigil/forms/windows.h"
#include "vigil/shell/win32/report_window.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <richedit.h>

#include <string>

namespace {

std::string ControlText(HWND hwnd) {
    GETTEXTLENGTHEX length{GTL_USECRLF | GTL_PRECISE | GTL_NUMBYTES, CP_ACP};
    LRESULT bytes = SendMessageA(hwnd, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    std::string text(static_cast<std::size_t>(bytes) + 1, '\0');
    GETTEXTEX get{static_cast<DWORD>(text.size()), GT_USECRLF, CP_ACP, nullptr, nullptr};
    LRESULT got = SendMessageA(hwnd, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                               reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(got));
    return text;
}

struct ReportBinding : ::testing::Test {
    vigil::forms::frmReport form;
    vigil::shell::win32::ReportWindow window{form, nullptr};
    HWND box = window.ReportBox();

    // The caret sits at the end when nothing follows it.
    bool CaretAtEnd() {
        CHARRANGE sel{};
        SendMessageA(box, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
        GETTEXTLENGTHEX length{GTL_DEFAULT, CP_ACP};
        LRESULT end = SendMessageA(box, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
        return sel.cpMin == sel.cpMax && sel.cpMin == end;
    }
};

} // namespace

TEST_F(ReportBinding, AppendedLinesReachTheControlAndTheCaretFollows) {
    ASSERT_NE(box, nullptr);
    form.report.Append("Web site checking started\r\n");
    form.report.Append("\r\n");
    form.report.Append("Processing - http://a/\r\n");
    form.report.SetSelStart(form.report.Text().size());
    EXPECT_EQ(ControlText(box), form.report.Text());
    EXPECT_TRUE(CaretAtEnd());

    form.report.SetText("");
    EXPECT_EQ(ControlText(box), "");
    form.report.Append("after the roll\r\n");
    EXPECT_EQ(ControlText(box), "after the roll\r\n");
}
