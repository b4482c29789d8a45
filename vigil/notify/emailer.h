#pragma once
// Failure and recovery notification: at most one e-mail run per outage of a site (and one per
// return), to the global address and the site's two addresses, through the vendor's web
// service or through an SMTP server, as the e-mail settings window chooses. The outcome shows
// only in the activity log and in the two notification sets.
#include "vigil/engine/activity_log.h"
#include "vigil/engine/clock_locale.h"
#include "vigil/engine/message_pump.h"
#include "vigil/forms/windows.h"
#include "vigil/notify/mail_sender.h"
#include "vigil/notify/notification_text.h"
#include "vigil/notify/page_loader.h"

#include <chrono>
#include <functional>
#include <string>

namespace vigil::notify {

inline constexpr const char* kWebServiceReplyTitle = "Vigil Emailer";

struct EmailerOptions {
    // The vendor's web service (absolute "http://" address, no trailing slash); requests go to
    // its /verify.asp.
    std::string webServiceAddress = "http://www.tessaly.co.uk";
    // The logo the HTML mails show.
    std::string logoAddress = "http://www.tessaly.co.uk/emailreport.gif";
    // The sender of every SMTP message.
    std::string senderAddress = "vigil@tessaly.co.uk";
    // How long to wait for a web-service reply. A loader that never reports back cannot hold
    // the check cycle: the end of the wait counts as a reply without the expected title. It is
    // longer than the page loader's own time-out, which normally ends a load first.
    std::chrono::milliseconds replyWait = std::chrono::seconds(75);
    // The pause between two looks at a completion flag, so the wait does not spin.
    std::chrono::milliseconds replyPoll = std::chrono::milliseconds(10);
    // The clock the reply wait is measured with.
    std::function<std::chrono::steady_clock::time_point()> steadyNow = [] {
        return std::chrono::steady_clock::now();
    };
};

class Emailer {
public:
    Emailer(forms::Windows& windows, engine::ActivityLog& log, MailSender& mail, PageLoader& pages,
            const engine::ClockLocale& clock, engine::MessagePump& pump,
            EmailerOptions options = {});

    // A failed check of site (exactly as in domainList); errorText is its verdict. Sends once
    // per outage: the site joins emailChecks when a run completes.
    void SendFailureNotification(const std::string& site, const std::string& errorText);
    // A successful check of a site that is not in emailChecksOK; text is not used. Only the
    // SMTP method announces a return; the site joins emailChecksOK when a run completes.
    void SendRecoveryNotification(const std::string& site, const std::string& text);

    // The request the web service gets for one recipient.
    std::string WebServiceRequest(const std::string& site, const std::string& address) const;

private:
    enum class Kind { Failure, Recovery };

    int SiteIndex(const std::string& site) const;
    void SendThroughWebService(const std::string& site, int index);
    bool WaitForReply(forms::TextBox& flag);
    // True when the run completed (the third send did not fail).
    bool SendThroughSmtp(Kind kind, const std::string& site, const std::string& errorText,
                         int index);
    MailMoment Moment() const;

    forms::Windows& windows_;
    engine::ActivityLog& log_;
    MailSender& mail_;
    PageLoader& pages_;
    const engine::ClockLocale& clock_;
    engine::MessagePump& pump_;
    EmailerOptions options_;
};

} // namespace vigil::notify
