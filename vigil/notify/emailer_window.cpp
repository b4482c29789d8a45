#include "vigil/notify/emailer_window.h"

namespace vigil::notify {

namespace {

// Sets entry index of the list, first filling the list with empty entries up to it: the
// address lists can be shorter than the site list (a stored value that could not be read adds
// nothing), and the addresses typed for a site must not be dropped for that.
void StoreAt(forms::ListBox& list, int index, const std::string& text) {
    while (list.ListCount() <= index)
        list.AddItem("");
    list.SetList(index, text);
}

} // namespace

EmailerWindow::EmailerWindow(forms::Windows& windows, std::function<void()> saveSettings)
    : windows_(windows), emailer_(windows.emailer), saveSettings_(std::move(saveSettings)) {
    auto save = [this] {
        if (saveSettings_)
            saveSettings_();
    };
    subscriptions_.push_back(emailer_.emailNotify.Change.Subscribe([this] { ApplyLayout(); }));
    subscriptions_.push_back(emailer_.emailNotify.Click.Subscribe([this] { emailNotify_Click(); }));
    subscriptions_.push_back(emailer_.EmailAddress.Change.Subscribe(save));
    subscriptions_.push_back(emailer_.smtpServer.Change.Subscribe(save));
    subscriptions_.push_back(emailer_.cboSiteList.Click.Subscribe([this] { cboSiteList_Click(); }));
    subscriptions_.push_back(
        emailer_.btnEmailApply.Clicked.Subscribe([this] { btnEmailApply_Click(); }));
    subscriptions_.push_back(emailer_.Command1.Clicked.Subscribe([this] { Command1_Click(); }));
    subscriptions_.push_back(emailer_.ok2.Clicked.Subscribe([this] { ok2_Click(); }));
    Form_Load();
}

void EmailerWindow::ApplyLayout() {
    const std::string& method = emailer_.emailNotify.Text();
    if (method == forms::kEmailNone) {
        emailer_.emailerComment.SetCaption(kCommentNone);
        emailer_.FrmemailSettings.SetVisible(false);
        emailer_.SetHeight(forms::kEmailerCompactHeight);
        emailer_.ok2.SetVisible(true);
    } else if (method == forms::kVigilEmailer || method == forms::kPop3Emailer) {
        const bool smtp = method == forms::kPop3Emailer;
        emailer_.emailerComment.SetCaption(smtp ? kCommentPop3 : kCommentVigilEmailer);
        emailer_.FrmemailSettings.SetVisible(true);
        emailer_.smtpServer.SetEnabled(smtp);
        emailer_.SetHeight(forms::kEmailerFullHeight);
        emailer_.ok2.SetVisible(false);
    }
}

void EmailerWindow::emailNotify_Click() {
    ApplyLayout();
    if (saveSettings_)
        saveSettings_();
}

void EmailerWindow::cboSiteList_Click() {
    const int index = emailer_.cboSiteList.ListIndex();
    if (index < 0)
        return;
    const forms::Form1& form = windows_.form1;
    emailer_.frmSite.SetCaption(emailer_.cboSiteList.List(index));
    emailer_.txtEmail1.SetText(form.emailList1.List(index));
    emailer_.txtEmail2.SetText(form.emailList2.List(index));
}

void EmailerWindow::btnEmailApply_Click() {
    if (emailer_.frmSite.Caption() == forms::kSiteSettingsCaption)
        return;
    const int index = emailer_.cboSiteList.ListIndex();
    // The caption can outlive the selection (the site removed meanwhile): nothing to store to.
    if (index < 0)
        return;
    forms::Form1& form = windows_.form1;
    StoreAt(form.emailList1, index, emailer_.txtEmail1.Text());
    StoreAt(form.emailList2, index, emailer_.txtEmail2.Text());
    if (saveSettings_)
        saveSettings_();
}

} // namespace vigil::notify
