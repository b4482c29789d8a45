#include "vigil/engine/notification_sets.h"
#include "vigil/engine/site_list.h"

#include <gtest/gtest.h>

using namespace vigil;
using vigil::engine::SiteList;

namespace {

struct SiteListFixture : ::testing::Test {
    forms::Windows w;
    int saves = 0;
    SiteList sites{w, [this] { ++saves; }};

    SiteListFixture() { sites.BindButtons(); }

    void Add(const std::string& address) {
        w.form1.domainToAdd.SetText(address);
        w.form1.AddDomain.Click();
    }
    void RemoveRow(int row) {
        w.form1.ListView1.SelectRow(row);
        w.form1.Command1.Click();
    }
    // Every per-site list, the rows and the mirrors hold one entry per site, in step.
    void ExpectInStep() {
        const auto& f = w.form1;
        const int n = f.domainList.ListCount();
        for (const forms::ListBox* list :
             {&f.urlList, &f.uptimeList, &f.downTimeList, &f.emailList1, &f.emailList2,
              static_cast<const forms::ListBox*>(&w.uptimeWindow.urlDropList),
              static_cast<const forms::ListBox*>(&w.emailer.cboSiteList)})
            EXPECT_EQ(list->ListCount(), n) << list->Name();
        EXPECT_EQ(f.ListView1.RowCount(), n);
        EXPECT_EQ(f.webCount.Text(), std::to_string(n));
        for (int i = 0; i < n; ++i) {
            EXPECT_EQ(w.uptimeWindow.urlDropList.List(i), f.domainList.List(i));
            EXPECT_EQ(w.emailer.cboSiteList.List(i), f.domainList.List(i));
            EXPECT_EQ(f.ListView1.Row(i + 1)->text, engine::RowTextOf(f.domainList.List(i)));
        }
        EXPECT_DOUBLE_EQ(f.ListView1.Columns()[0].width, 142.98);
        EXPECT_DOUBLE_EQ(f.ListView1.Columns()[1].width, 34.99843);
    }
};

} // namespace

TEST(RowText, RemovesEveryLowerCaseSchemePrefix) {
    const std::pair<const char*, const char*> cases[] = {
        {"http://www.a.com", "www.a.com"},
        {"HTTP://www.a.com", "HTTP://www.a.com"},
        {"https://b.org/x", "https://b.org/x"},
        {"http://a.com/?u=http://b.com", "a.com/?u=b.com"},
        {"http:/http://x", "http:/x"},
        {"", ""},
        {"http://", ""},
    };
    for (auto [address, text] : cases)
        EXPECT_EQ(engine::RowTextOf(address), text) << address;
}

TEST_F(SiteListFixture, AddKeepsTextAndFillsEveryListWithNewSiteValues) {
    Add("http://www.example.com/");
    const auto& f = w.form1;
    ExpectInStep();
    EXPECT_EQ(f.domainList.List(0), "http://www.example.com/");
    EXPECT_EQ(f.urlList.List(0), "http://www.example.com/");
    EXPECT_EQ(f.ListView1.Row(1)->text, "www.example.com/");
    EXPECT_EQ(f.ListView1.SubItem(1, 1), "?");
    EXPECT_EQ(f.uptimeList.List(0), "0");
    EXPECT_EQ(f.downTimeList.List(0), "0");
    EXPECT_EQ(f.emailList1.List(0), "");
    EXPECT_EQ(f.emailList2.List(0), "");
    EXPECT_TRUE(engine::SetContains(f.emailChecksOK, "http://www.example.com/"));
    EXPECT_FALSE(engine::SetContains(f.emailChecks, "http://www.example.com/"));
    EXPECT_EQ(f.domainToAdd.Text(), "http://www.example.com/"); // the add box keeps its text
    EXPECT_EQ(saves, 1);
}

TEST_F(SiteListFixture, ViewInternalShowsSettingsAndAddsNothing) {
    Add("ViewInternal");
    EXPECT_TRUE(w.settings.Visible());
    EXPECT_EQ(w.form1.domainToAdd.Text(), "http://");
    EXPECT_EQ(sites.Count(), 0);
    EXPECT_EQ(saves, 0);

    // Only the exact text opens the window; anything else is an address like any other.
    w.settings.Hide();
    Add("viewinternal");
    Add(" ViewInternal");
    EXPECT_FALSE(w.settings.Visible());
    EXPECT_EQ(sites.Count(), 2);
}

TEST_F(SiteListFixture, HundredthSiteDisablesAddAndAnyRemovalEnablesIt) {
    for (int i = 0; i < 99; ++i)
        Add("http://s" + std::to_string(i));
    EXPECT_TRUE(w.form1.AddDomain.Enabled());
    Add("http://s99");
    EXPECT_FALSE(w.form1.AddDomain.Enabled());
    Add("http://s100"); // the disabled button ignores the click
    EXPECT_EQ(sites.Count(), 100);
    RemoveRow(37);
    EXPECT_TRUE(w.form1.AddDomain.Enabled());
    EXPECT_EQ(sites.Count(), 99);
    EXPECT_EQ(w.form1.domainList.List(36), "http://s37");
    EXPECT_EQ(saves, 101);
    ExpectInStep();
}

TEST_F(SiteListFixture, DuplicateAddressesGetTheirOwnPositionsAndShareTheSets) {
    Add("http://a");
    Add("http://a");
    w.form1.uptimeList.SetList(1, "7");
    EXPECT_EQ(sites.Count(), 2);
    EXPECT_EQ(w.form1.emailChecksOK.ListCount(), 1);
    RemoveRow(1);
    EXPECT_EQ(w.form1.uptimeList.List(0), "7");
    EXPECT_TRUE(engine::SetContains(w.form1.emailChecksOK, "http://a"));
    ExpectInStep();
}

TEST_F(SiteListFixture, RemovalKeepsOtherSitesDataWithTheirSite) {
    struct Case {
        int row;
        std::vector<std::string> left;
    };
    const Case cases[] = {{1, {"b", "c"}}, {2, {"a", "c"}}, {3, {"a", "b"}}};
    for (const auto& c : cases) {
        forms::Windows fresh;
        int saved = 0;
        SiteList list(fresh, [&] { ++saved; });
        for (std::string name : {"a", "b", "c"}) {
            fresh.form1.domainToAdd.SetText("http://" + name);
            list.AddDomain_Click();
            const int pos = list.Count() - 1;
            fresh.form1.uptimeList.SetList(pos, name + "-up");
            fresh.form1.downTimeList.SetList(pos, name + "-down");
            fresh.form1.urlList.SetList(pos, name + "-url");
            fresh.form1.emailList1.SetList(pos, name + "@1");
            fresh.form1.emailList2.SetList(pos, name + "@2");
            fresh.form1.ListView1.SetSubItem(pos + 1, 1, name + "-mark");
        }
        fresh.form1.ListView1.SelectRow(c.row);
        list.Command1_Click();
        ASSERT_EQ(list.Count(), 2) << "row " << c.row;
        for (int i = 0; i < 2; ++i) {
            const std::string& n = c.left[static_cast<std::size_t>(i)];
            EXPECT_EQ(fresh.form1.domainList.List(i), "http://" + n);
            EXPECT_EQ(fresh.form1.uptimeList.List(i), n + "-up");
            EXPECT_EQ(fresh.form1.downTimeList.List(i), n + "-down");
            EXPECT_EQ(fresh.form1.urlList.List(i), n + "-url");
            EXPECT_EQ(fresh.form1.emailList1.List(i), n + "@1");
            EXPECT_EQ(fresh.form1.emailList2.List(i), n + "@2");
            EXPECT_EQ(fresh.form1.ListView1.SubItem(i + 1, 1), n + "-mark");
            EXPECT_EQ(fresh.emailer.cboSiteList.List(i), "http://" + n);
            EXPECT_EQ(fresh.uptimeWindow.urlDropList.List(i), "http://" + n);
        }
        EXPECT_EQ(fresh.form1.webCount.Text(), "2");
        EXPECT_EQ(saved, 4);
    }
}

TEST_F(SiteListFixture, RemoveWithoutSelectionOrOnEmptyListStillCountsAndSaves) {
    w.form1.Command1.Click(); // empty list
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(w.form1.webCount.Text(), "0");
    Add("http://a");
    w.form1.ListView1.SelectRow(0);
    w.form1.Command1.Click();
    EXPECT_EQ(sites.Count(), 1);
    EXPECT_EQ(saves, 3);
    ExpectInStep();
}

TEST_F(SiteListFixture, RemovalLeavesTheNotificationSetsAlone) {
    Add("http://a");
    engine::SetAdd(w.form1.emailChecks, "http://a");
    RemoveRow(1);
    EXPECT_TRUE(engine::SetContains(w.form1.emailChecks, "http://a"));
    EXPECT_TRUE(engine::SetContains(w.form1.emailChecksOK, "http://a"));
}

TEST_F(SiteListFixture, LoadFillsListsWithoutSavingOrLimit) {
    for (int i = 0; i < 101; ++i)
        sites.AppendLoadedSite("http://s" + std::to_string(i), i == 3 ? "x@y" : "", "");
    sites.FinishLoad();
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(w.form1.webCount.Text(), "101");
    EXPECT_EQ(w.form1.emailList1.List(3), "x@y");
    EXPECT_EQ(w.form1.ListView1.SubItem(101, 1), "?");
    EXPECT_EQ(w.form1.emailChecksOK.ListCount(), 101);
    EXPECT_TRUE(w.form1.AddDomain.Enabled()); // loading does not check the count
}
