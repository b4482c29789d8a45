#include "vigil/notify/emailer_window.h"

#include <gtest/gtest.h>

#include <memory>

using namespace vigil;
using namespace vigil::notify;

namespace {

struct EmailerWindowFixture : ::testing::Test {
    forms::Windows w;
    forms::VigilEmailer& e = w.emailer;
    forms::Form1& form = w.form1;
    int saves = 0;
    std::unique_ptr<EmailerWindow> window;

    EmailerWindowFixture() {
        window = std::make_unique<EmailerWindow>(w, [this] { ++saves; });
        for (const char* site : {"http://a/", "http://b/"}) {
            form.domainList.AddItem(site);
            e.cboSiteList.AddItem(site);
        }
        form.emailList1.AddItem("a1@test");
        form.emailList1.AddItem("b1@test");
        form.emailList2.AddItem("");
        form.emailList2.AddItem("b2@test");
    }

    void Choose(forms::ComboBox& box, const std::string& entry) {
        for (int i = 0; i < box.ListCount(); ++i) {
            if (box.List(i) == entry)
                box.SetListIndex(i);
        }
    }
};

struct Layout {
    std::string comment;
    bool settingsShown;
    bool smtpEnabled;
    double height;
    bool ok2Shown;
};

void ExpectLayout(const forms::VigilEmailer& e, const Layout& layout, const std::string& what) {
    EXPECT_EQ(e.emailerComment.Caption(), layout.comment) << what;
    EXPECT_EQ(e.FrmemailSettings.Visible(), layout.settingsShown) << what;
    EXPECT_EQ(e.smtpServer.Enabled(), layout.smtpEnabled) << what;
    EXPECT_EQ(e.Place().height, layout.height) << what;
    EXPECT_EQ(e.ok2.Visible(), layout.ok2Shown) << what;
}

} // namespace

TEST_F(EmailerWindowFixture, EachMethodHasItsLayoutWhetherChosenOrSetByTheProgram) {
    struct Case {
        const char* method;
        Layout layout;
    };
    const Case cases[] = {
        {"POP3 Emailer", {"Use POP3/SMTP Server", true, true, 5550, false}},
        {"None", {"Email Notification Disabled", false, true, 1725, true}},
        {"Vigil Emailer", {"Use Vigil web site to send emails", true, false, 5550, false}},
        // The server field keeps its state under "None".
        {"None", {"Email Notification Disabled", false, false, 1725, true}},
        {"POP3 Emailer", {"Use POP3/SMTP Server", true, true, 5550, false}},
    };
    for (const Case& c : cases) {
        Choose(e.emailNotify, c.method);
        ExpectLayout(e, c.layout, std::string("chosen ") + c.method);
    }
    EXPECT_EQ(saves, 5); // every choice saves
    for (const Case& c : cases) {
        e.emailNotify.SetText(c.method); // as the settings load does
        ExpectLayout(e, c.layout, std::string("set ") + c.method);
    }
    EXPECT_EQ(saves, 5); // setting the text alone does not save
}

TEST_F(EmailerWindowFixture, AnyOtherTextKeepsTheLayoutAndLoadingAppliesTheCurrentOne) {
    // Loaded with the design-time "None", which no change of text announces.
    ExpectLayout(e, {"Email Notification Disabled", false, true, 1725, true}, "loaded with None");
    EXPECT_EQ(saves, 0);
    e.emailNotify.SetText("Vigil Emailer");
    e.emailNotify.SetText("Carrier pigeon");
    ExpectLayout(e, {"Use Vigil web site to send emails", true, false, 5550, false}, "other");
}

TEST_F(EmailerWindowFixture, EveryKeystrokeInTheGlobalFieldsSavesButNotInTheSiteFields) {
    e.EmailAddress.SetText("o");
    e.EmailAddress.SetText("op");
    e.smtpServer.SetText("m");
    EXPECT_EQ(saves, 3);
    e.txtEmail1.SetText("x");
    e.txtEmail2.SetText("y");
    EXPECT_EQ(saves, 3);
}

TEST_F(EmailerWindowFixture, ChoosingASiteShowsItsAddresses) {
    Choose(e.cboSiteList, "http://b/");
    EXPECT_EQ(e.frmSite.Caption(), "http://b/");
    EXPECT_EQ(e.txtEmail1.Text(), "b1@test");
    EXPECT_EQ(e.txtEmail2.Text(), "b2@test");
    Choose(e.cboSiteList, "http://a/");
    EXPECT_EQ(e.frmSite.Caption(), "http://a/");
    EXPECT_EQ(e.txtEmail1.Text(), "a1@test");
    EXPECT_EQ(e.txtEmail2.Text(), "");
    EXPECT_EQ(saves, 0);
}

TEST_F(EmailerWindowFixture, ApplyStoresTheFieldsExactlyAsTypedForTheChosenSite) {
    e.txtEmail1.SetText("early@test");
    e.btnEmailApply.Click(); // no site chosen yet: nothing happens
    EXPECT_EQ(form.emailList1.Items(), (std::vector<std::string>{"a1@test", "b1@test"}));
    EXPECT_EQ(saves, 0);

    Choose(e.cboSiteList, "http://b/");
    e.txtEmail1.SetText(" new one ");
    e.txtEmail2.SetText("");
    e.btnEmailApply.Click();
    EXPECT_EQ(form.emailList1.Items(), (std::vector<std::string>{"a1@test", " new one "}));
    EXPECT_EQ(form.emailList2.Items(), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(saves, 1);
}

TEST_F(EmailerWindowFixture, EditingWithoutApplyAndClosingKeepsTheStoredAddress) {
    e.Show();
    Choose(e.emailNotify, "POP3 Emailer");
    Choose(e.cboSiteList, "http://a/");
    e.txtEmail1.SetText("changed@test");
    e.Command1.Click();
    EXPECT_FALSE(e.Visible());
    EXPECT_EQ(form.emailList1.List(0), "a1@test");
    EXPECT_EQ(e.txtEmail1.Text(), "changed@test"); // the window keeps its values

    e.Show();
    Choose(e.emailNotify, "None");
    e.ok2.Click();
    EXPECT_FALSE(e.Visible());
}

TEST_F(EmailerWindowFixture, ApplyForASiteBeyondAShortAddressListExtendsTheListInsteadOfLosingIt) {
    form.emailList2.RemoveItem(1);
    Choose(e.cboSiteList, "http://b/");
    e.txtEmail2.SetText("late@test");
    e.btnEmailApply.Click();
    EXPECT_EQ(form.emailList2.Items(), (std::vector<std::string>{"", "late@test"}));
}

TEST_F(EmailerWindowFixture, TheWindowLeavesNoHandlerBehind) {
    const auto before = e.btnEmailApply.Clicked.HandlerCount();
    window.reset();
    EXPECT_EQ(e.btnEmailApply.Clicked.HandlerCount(), before - 1);
    e.emailNotify.SetText("POP3 Emailer");
    EXPECT_EQ(e.emailerComment.Caption(), "Email Notification Disabled");
    EXPECT_EQ(e.Place().height, 1725);
}
