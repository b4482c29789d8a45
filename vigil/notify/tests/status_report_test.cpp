#include "vigil/notify/status_report.h"

#include <gtest/gtest.h>

namespace vigil::notify {
namespace {

const char* const kGreen100 = "<td bgcolor=#00FF00 width='100%'>&nbsp; </td>";

struct Site {
    const char* address;
    const char* up;
    const char* down;
};

std::vector<std::string> ReportOf(std::initializer_list<Site> sites, const char* hours = "0",
                                  const char* mins = "5") {
    forms::Form1 f;
    f.intervalHours.SetText(hours);
    f.intervalMins.SetText(mins);
    for (const Site& s : sites) {
        f.urlList.AddItem(s.address);
        f.uptimeList.AddItem(s.up);
        f.downTimeList.AddItem(s.down);
    }
    return StatusReportLines(f, "07/12/2026");
}

TEST(StatusReport, HeadAndTailOfThePage) {
    std::vector<std::string> lines = ReportOf({}, "1", "5");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "<html><head><title>Vigil Status Report</title></head><body "
                        "bgcolor=#FFFFFF text=#000000>");
    EXPECT_EQ(lines[1], "<p><font face='Arial, Helvetica, sans - serif'><b><font size=3>Vigil - "
                        "Uptime/Downtime Status Report</font></b><br>07/12/2026 - web sites "
                        "verified every : 65 mins </font></p><hr width=90% align=left size=1 "
                        "noshade>");
    EXPECT_EQ(lines[2], "</body></html>");
}

TEST(StatusReport, IntervalIsQuotedWithoutTrailingZeros) {
    struct Case {
        const char* hours;
        const char* mins;
        const char* quoted;
    } cases[] = {{"1", "5", "65"},  {"0", "5", "5"},     {"", "", "0"},
                 {"2", "0", "120"}, {"0", "7.5", "7.5"}, {"1x", "3min", "63"}};
    for (const Case& c : cases) {
        forms::Form1 f;
        f.intervalHours.SetText(c.hours);
        f.intervalMins.SetText(c.mins);
        EXPECT_EQ(IntervalMinutesText(f), c.quoted) << c.hours << " " << c.mins;
    }
}

TEST(StatusReport, OneSitesRowsByItsCounts) {
    // The lines of a site between its address line and its closing lines: the bar cells and
    // the figures line.
    struct Case {
        const char* up;
        const char* down;
        std::vector<std::string> cells;
        const char* figures;
    } cases[] = {
        {"0",
         "0",
         {"<td width='100%'><div align=center><font face='Arial, Helvetica, sans-serif'>No "
          "Status Data Available</font></div></td>"},
         "Uptime : 0% (0)<br>DownTime: 0% (0)"},
        {"10", "0", {kGreen100}, "Uptime : 100% (10)<br>DownTime: 0% (0)"},
        {"0",
         "4",
         {"<td bgcolor=#FF0000 width='100%'>&nbsp;</td>"},
         "Uptime : 0% (0)<br>DownTime: 100% (4)"},
        {"1",
         "2",
         {"<td bgcolor=#00FF00 width='33%'>&nbsp; </td>",
          "<td bgcolor=#FF0000 width='67%'>&nbsp;</td>"},
         "Uptime : 33% (1)<br>DownTime: 67% (2)"},
        {"1",
         "7",
         {"<td bgcolor=#00FF00 width='12%'>&nbsp; </td>",
          "<td bgcolor=#FF0000 width='88%'>&nbsp;</td>"},
         "Uptime : 12% (1)<br>DownTime: 88% (7)"},
        {"1",
         "999", // 0.1% rounds to 0: no green cell
         {"<td bgcolor=#FF0000 width='100%'>&nbsp;</td>"},
         "Uptime : 0% (1)<br>DownTime: 100% (999)"},
        {"100000",
         "50000",
         {"<td bgcolor=#00FF00 width='67%'>&nbsp; </td>",
          "<td bgcolor=#FF0000 width='33%'>&nbsp;</td>"},
         "Uptime : 67% (100000)<br>DownTime: 33% (50000)"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines = ReportOf({{"http://a.example/", c.up, c.down}});
        std::vector<std::string> expected = {
            "<table width=90% border=0 cellspacing=0 cellpadding=0><tr>",
            "<td><font face='Arial, Helvetica, sans-serif'>http://a.example/</font><br>",
            "<table width=100% border=1 cellspacing=0 cellpadding=0 bordercolor=#000000><tr><td>"
            "<table width=100% border=0 cellspacing=0 cellpadding=0><tr>"};
        expected.insert(expected.end(), c.cells.begin(), c.cells.end());
        expected.push_back("</tr></table></td></tr></table>");
        expected.push_back(std::string("<p><font face='Arial, Helvetica, sans - serif'>") +
                           c.figures + "</p></font></td></tr></table>");
        expected.push_back("<hr width=90% align=left size=1 noshade>");
        ASSERT_EQ(lines.size(), expected.size() + 3) << c.up << "/" << c.down;
        EXPECT_EQ(std::vector<std::string>(lines.begin() + 2, lines.end() - 1), expected)
            << c.up << "/" << c.down;
    }
}

TEST(StatusReport, EverySiteInOrderAndAnEmptyCountIsZero) {
    std::vector<std::string> lines =
        ReportOf({{"http://a.example/", "3", "1"}, {"http://b.example/", "", ""}});
    std::vector<std::string> addressLines;
    for (const std::string& line : lines)
        if (line.rfind("<td><font", 0) == 0)
            addressLines.push_back(line);
    EXPECT_EQ(addressLines,
              (std::vector<std::string>{
                  "<td><font face='Arial, Helvetica, sans-serif'>http://a.example/</font><br>",
                  "<td><font face='Arial, Helvetica, sans-serif'>http://b.example/</font><br>"}));
    EXPECT_EQ(lines[lines.size() - 3],
              "<p><font face='Arial, Helvetica, sans - serif'>Uptime : 0% (0)<br>DownTime: 0% "
              "(0)</p></font></td></tr></table>");
}

TEST(StatusReport, AnAddressCannotAddMarkupToThePage) {
    std::vector<std::string> lines =
        ReportOf({{"http://x.example/?a=1&b=<script>alert('x')</script>\"", "1", "0"}});
    EXPECT_EQ(lines[3], "<td><font face='Arial, Helvetica, sans-serif'>http://x.example/?a=1&amp;"
                        "b=&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;&quot;</font><br>");
    for (const std::string& line : lines)
        EXPECT_EQ(line.find("<script"), std::string::npos) << line;
}

TEST(StatusReport, TheFileEndsEveryLineWithCrLf) {
    forms::Form1 f;
    std::string text = StatusReportText(f, "07/12/2026");
    EXPECT_EQ(text.substr(text.size() - 16), "</body></html>\r\n");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 3);
}

} // namespace
} // namespace vigil::notify
