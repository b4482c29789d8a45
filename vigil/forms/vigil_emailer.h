#pragma once
// The e-mail settings window: the delivery method, the global address and SMTP server, and the
// two addresses of the site chosen in cboSiteList (cboSiteList mirrors the site list). The
// layout shown is that of the full window; choosing a method shrinks or greys parts of it.
#include "vigil/forms/controls.h"

namespace vigil::forms {

inline constexpr const char* kEmailNone = "None";
inline constexpr const char* kVigilEmailer = "Vigil Emailer";
inline constexpr const char* kPop3Emailer = "POP3 Emailer";
inline constexpr const char* kSiteSettingsCaption = "Site settings";
inline constexpr double kEmailerFullHeight = 5550;    // twips, with the address fields
inline constexpr double kEmailerCompactHeight = 1725; // twips, method box only

struct VigilEmailer : Form {
    VigilEmailer() : Form("VigilEmailer", "Vigil Email Configuration") {
        SetHeight(kEmailerFullHeight);
    }

    Frame Frame1{"Frame1", "Email Type"};
    Label Label20{"Label20", "Emailer Type"};
    ComboBox emailNotify{"emailNotify", {kEmailNone, kVigilEmailer, kPop3Emailer}, kEmailNone};
    Label emailerComment{"emailerComment", "Comment:"};
    Button ok2{"ok2", "Ok"}; // closes the compact layout

    Frame FrmemailSettings{"FrmemailSettings", "Email Settings"};
    Label Label13{"Label13", "Global Email Address"};
    TextBox EmailAddress{"EmailAddress"};
    Label Label1{"Label1", "SMTP server address"};
    TextBox smtpServer{"smtpServer", "smtp.yourserver.com"};
    ComboBox cboSiteList{"cboSiteList"};
    Frame frmSite{"frmSite", kSiteSettingsCaption}; // the chosen site's address once chosen
    Label lblLabel14{"lblLabel14", "Web site recipient 1"};
    TextBox txtEmail1{"txtEmail1"};
    Label Label14{"Label14", "Web site recipient 2"};
    TextBox txtEmail2{"txtEmail2"};
    Button btnEmailApply{"btnEmailApply", "Apply"};
    Button Command1{"Command1", "Ok"}; // closes the full layout
};

} // namespace vigil::forms
