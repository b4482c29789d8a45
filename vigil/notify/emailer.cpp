#include "vigil/notify/emailer.h"

#include "vigil/engine/notification_sets.h"
#include "vigil/notify/url_encode.h"

#include <array>
#include <exception>
#include <memory>
#include <optional>
#include <thread>

namespace vigil::notify {

namespace {

constexpr const char* kDone = "Done";

bool IsBlank(const std::string& text) {
    return text.find_first_not_of(' ') == std::string::npos;
}

} // namespace

Emailer::Emailer(forms::Windows& windows, engine::ActivityLog& log, MailSender& mail,
                 PageLoader& pages, const engine::ClockLocale& clock, engine::MessagePump& pump,
                 EmailerOptions options)
    : windows_(windows), log_(log), mail_(mail), pages_(pages), clock_(clock), pump_(pump),
      options_(std::move(options)) {}

void Emailer::SendFailureNotification(const std::string& site, const std::string& errorText) {
    forms::Form1& form = windows_.form1;
    if (engine::SetContains(form.emailChecks, site))
        return;
    const int index = SiteIndex(site);
    if (index < 0)
        return;
    const std::string& method = windows_.emailer.emailNotify.Text();
    if (method == forms::kVigilEmailer) {
        SendThroughWebService(site, index);
        engine::SetAdd(form.emailChecks, site);
    }
    if (method == forms::kPop3Emailer) {
        if (SendThroughSmtp(Kind::Failure, site, errorText, index))
            engine::SetAdd(form.emailChecks, site);
    }
}

void Emailer::SendRecoveryNotification(const std::string& site, const std::string& /*text*/) {
    forms::Form1& form = windows_.form1;
    if (engine::SetContains(form.emailChecksOK, site))
        return;
    const int index = SiteIndex(site);
    if (index < 0)
        return;
    // The web service has no recovery request: nothing is sent with it.
    if (windows_.emailer.emailNotify.Text() != forms::kPop3Emailer)
        return;
    if (SendThroughSmtp(Kind::Recovery, site, {}, index))
        engine::SetAdd(form.emailChecksOK, site);
}

std::string Emailer::WebServiceRequest(const std::string& site, const std::string& address) const {
    return options_.webServiceAddress + "/verify.asp?site=" + UrlEncode(site) +
           "&email=" + UrlEncode(address);
}

int Emailer::SiteIndex(const std::string& site) const {
    // The last occurrence wins, as the whole list is scanned.
    const auto& sites = windows_.form1.domainList.Items();
    for (int i = static_cast<int>(sites.size()) - 1; i >= 0; --i) {
        if (sites[static_cast<std::size_t>(i)] == site)
            return i;
    }
    return -1;
}

void Emailer::SendThroughWebService(const std::string& site, int index) {
    forms::Form1& form = windows_.form1;
    log_.WriteLog("Sending notification emails via Vigil Emailer");
    struct Slot {
        forms::TextBox& flag;
        std::string address;
        bool always;
    };
    const std::array<Slot, 3> slots{{
        {form.webGo1, windows_.emailer.EmailAddress.Text(), true},
        {form.webGo2, form.emailList1.List(index), false},
        {form.webGo3, form.emailList2.List(index), false},
    }};
    for (const Slot& slot : slots) {
        slot.flag.SetText("");
        if (!slot.always && (slot.address.empty() || slot.address == "Error"))
            continue;
        // The title arrives with the completion, which may come after the wait has given up:
        // the reply is kept where a late completion can still safely write it.
        auto title = std::make_shared<std::string>();
        forms::TextBox* flag = &slot.flag;
        pages_.Navigate(WebServiceRequest(site, slot.address),
                        [title, flag](const PageLoadResult& result) {
                            *title = result.title;
                            flag->SetText(kDone);
                        });
        log_.WriteLog(">Sending Notification - " + slot.address);
        const bool replied = WaitForReply(slot.flag);
        if (!replied || *title != kWebServiceReplyTitle)
            log_.WriteLog(">Email Notification Failed (net congestion)");
    }
}

bool Emailer::WaitForReply(forms::TextBox& flag) {
    const auto deadline = options_.steadyNow() + options_.replyWait;
    while (flag.Text() != kDone) {
        if (options_.steadyNow() >= deadline)
            return false;
        pump_.DoEvents();
        if (flag.Text() != kDone && options_.replyPoll.count() > 0)
            std::this_thread::sleep_for(options_.replyPoll);
    }
    return true;
}

bool Emailer::SendThroughSmtp(Kind kind, const std::string& site, const std::string& errorText,
                              int index) {
    forms::Form1& form = windows_.form1;
    forms::VigilEmailer& settings = windows_.emailer;
    if (IsBlank(settings.smtpServer.Text())) {
        log_.WriteLog("Email notification failed, no smtp server set up");
        return false;
    }
    std::optional<UptimeFigures> uptime;
    if (form.uptimeEmail.Checked())
        uptime = MakeUptimeFigures(form.uptimeList.List(index), form.downTimeList.List(index));

    const MailMoment moment = Moment();
    const bool html = form.htmlEmail.Checked();
    if (html) {
        form.htmlEmailText.SetText("");
        form.htmlEmailText.SetText(
            kind == Kind::Failure
                ? FailureHtmlBody(options_.logoAddress, moment, site, errorText, uptime)
                : RecoveryHtmlBody(options_.logoAddress, moment, site, uptime));
    }
    log_.WriteLog(kind == Kind::Failure ? ">Sending failure notification email(s) via SMTP"
                                        : ">Sending recovery notification email(s) via SMTP");
    const std::string plain = kind == Kind::Failure
                                  ? FailurePlainBody(moment, site, errorText, uptime)
                                  : RecoveryPlainBody(moment, site, uptime);
    std::string subject;
    if (kind == Kind::Failure)
        subject = FailureSubject(site);
    else
        subject = html ? RecoveryHtmlSubject(site) : RecoveryPlainSubject(site);

    const std::array<std::string, 3> recipients{
        settings.EmailAddress.Text(), form.emailList1.List(index), form.emailList2.List(index)};
    for (std::size_t r = 0; r < recipients.size(); ++r) {
        const std::string& address = recipients[r];
        if (address.empty()) {
            pump_.DoEvents();
            continue;
        }
        log_.WriteLog(">Emailing - " + address);
        MailMessage message;
        message.from = options_.senderAddress;
        message.to = {address};
        message.subject = subject;
        message.type = html ? BodyType::Html : BodyType::PlainText;
        message.body = html ? form.htmlEmailText.Text() : plain;
        bool sent = false;
        try {
            sent = mail_.Send(settings.smtpServer.Text(), message).ok;
        } catch (const std::exception&) {
            sent = false;
        }
        pump_.DoEvents();
        if (!sent) {
            log_.WriteLog("sending failed");
            if (r + 1 == recipients.size())
                return false;
        }
    }
    return true;
}

MailMoment Emailer::Moment() const {
    const engine::LocalTime now = clock_.Now();
    MailMoment moment;
    moment.date = clock_.ShortDate(now);
    // The general date is the short date, a space and the time in the system's time format.
    const std::string general = clock_.GeneralDate(now);
    if (general.size() > moment.date.size() &&
        general.compare(0, moment.date.size(), moment.date) == 0)
        moment.time = general.substr(moment.date.size() + (general[moment.date.size()] == ' '));
    else
        moment.time = general;
    return moment;
}

} // namespace vigil::notify
