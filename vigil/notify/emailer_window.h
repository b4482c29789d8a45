#pragma once
// The behaviour of the e-mail settings window: the layout of the chosen delivery method, the
// per-site addresses shown for the site chosen in cboSiteList and stored by "Apply", the
// write-through save of the global fields and the two "Ok" buttons. The window's controls are
// the live settings; the per-site addresses live in the main window's emailList1/emailList2.
#include "vigil/forms/event.h"
#include "vigil/forms/windows.h"

#include <functional>
#include <vector>

namespace vigil::notify {

inline constexpr const char* kCommentNone = "Email Notification Disabled";
inline constexpr const char* kCommentVigilEmailer = "Use Vigil web site to send emails";
inline constexpr const char* kCommentPop3 = "Use POP3/SMTP Server";

class EmailerWindow {
public:
    // saveSettings saves every setting (it does nothing itself while the settings load).
    // The window is loaded with the object, so the layout of the current method is applied at
    // once: a stored method equal to the design-time one changes no text and raises nothing.
    EmailerWindow(forms::Windows& windows, std::function<void()> saveSettings);

    // The window has been loaded: show the layout of the current method.
    void Form_Load() { ApplyLayout(); }
    // The layout of the method in emailNotify; any other text leaves the layout as it was.
    void ApplyLayout();

    void emailNotify_Click();
    void cboSiteList_Click();
    void btnEmailApply_Click();
    void Command1_Click() { emailer_.Hide(); }
    void ok2_Click() { emailer_.Hide(); }

private:
    forms::Windows& windows_;
    forms::VigilEmailer& emailer_;
    std::function<void()> saveSettings_;
    std::vector<forms::Subscription> subscriptions_;
};

} // namespace vigil::notify
