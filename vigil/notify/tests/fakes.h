#pragma once
// Fakes of the notification ports for the host unit tests.
#include "vigil/notify/mail_sender.h"
#include "vigil/notify/page_loader.h"

#include <chrono>
#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vigil::notify::fakes {

// Keeps every message it is given; the sends listed in failures (0-based) fail, and the one
// numbered in throwAt throws.
class RecordingMailSender : public MailSender {
public:
    struct Sent {
        std::string server;
        MailMessage message;
    };
    std::vector<Sent> sent;
    std::vector<int> failures;
    int throwAt = -1;

    SendResult Send(std::string_view smtpServer, const MailMessage& message) override {
        const int number = static_cast<int>(sent.size());
        sent.push_back({std::string(smtpServer), message});
        if (number == throwAt)
            throw std::runtime_error("transport broke");
        for (int failure : failures) {
            if (failure == number)
                return SendResult::Failure("refused");
        }
        return SendResult::Sent();
    }
};

// Answers each navigation with the next scripted title at once; a scripted nullopt never
// completes (the loader hangs). Without a script every page carries the expected title.
class ScriptedPageLoader : public PageLoader {
public:
    std::deque<std::optional<std::string>> titles;
    std::vector<std::string> addresses;
    std::vector<Completed> pending; // completions held back by a hanging load

    void Navigate(const std::string& address, const Completed& completed) override {
        addresses.push_back(address);
        std::optional<std::string> title = std::string("Vigil Emailer");
        if (!titles.empty()) {
            title = titles.front();
            titles.pop_front();
        }
        if (!title) {
            pending.push_back(completed);
            last_.clear();
            return;
        }
        last_ = *title;
        completed(PageLoadResult{true, *title, {}});
    }
    const std::string& LocationName() const override { return last_; }

private:
    std::string last_;
};

// A steady clock that the test moves on.
struct SteadyClock {
    std::chrono::steady_clock::time_point now{};
    void Advance(std::chrono::milliseconds by) { now += by; }
};

} // namespace vigil::notify::fakes
