#pragma once
// Fakes of the check cycle's own ports, and a page transfer that answers by address.
#include "vigil/engine/check_cycle_ports.h"
#include "vigil/engine/connection_flags.h"
#include "vigil/engine/dial_up_control.h"
#include "vigil/engine/page_transfer.h"
#include "vigil/engine/tests/fakes.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace vigil::engine::fakes {

// Answers each address from its script; the last scripted answer of an address repeats. An
// address without a script gets a healthy page; the empty address fails, as a real fetch does.
class SiteTransfer : public PageTransfer {
public:
    std::map<std::string, std::deque<TransferResult>> scripted;
    std::vector<TransferRequest> requests;
    const Clock* clock = nullptr; // when set, each fetch takes fetchMs on its monotonic clock
    int fetchMs = 0;
    bool executing = false;
    int cancels = 0;

    static TransferResult Healthy() {
        return TransferResult::Body("<HTML><BODY>Hello</BODY></HTML>");
    }
    static TransferResult NotFound() { return TransferResult::Body("404 Not Found"); }
    static TransferResult Refused() { return TransferResult::Failure("connection refused"); }

    TransferResult Open(const TransferRequest& request) override {
        requests.push_back(request);
        if (clock)
            clock->monotonicMs += fetchMs;
        if (request.address.empty())
            return Refused();
        auto it = scripted.find(request.address);
        if (it == scripted.end() || it->second.empty())
            return Healthy();
        TransferResult result = it->second.front();
        if (it->second.size() > 1)
            it->second.pop_front();
        return result;
    }
    bool StillExecuting() const override { return executing; }
    void Cancel() override {
        ++cancels;
        executing = false;
    }

    int RequestsFor(const std::string& address) const {
        int n = 0;
        for (const auto& r : requests)
            n += r.address == address;
        return n;
    }
};

// The connection flags and the dial-up control; every call is recorded in order ("flags" for a
// read of the connection flags).
class Connection : public ConnectionFlags, public DialUpControl {
public:
    std::deque<bool> online{true}; // the flags call's result, in turn; the last repeats
    bool lan = true;
    bool active = true;
    bool throwOnActive = false;
    bool throwOnConnect = false;
    // What the control does while dialling, such as raising its outcome event.
    std::function<void(const std::string&)> onConnect;
    std::vector<std::string> calls;

    bool InternetGetConnectedState(std::uint32_t& flags) override {
        calls.push_back("flags");
        flags = lan ? kConnectionLan : 0;
        bool result = online.front();
        if (online.size() > 1)
            online.pop_front();
        return result;
    }

    std::vector<std::string> Connections() override { return {}; }
    int ConnectionCount() override { return 0; }
    bool Active(const std::string& name) override {
        calls.push_back("Active:" + name);
        if (throwOnActive)
            throw DialUpControlError({1027, "CDialUpNetworking.Active", "Invalid entry name"});
        return active;
    }
    void Connect(const std::string& name) override {
        calls.push_back("Connect:" + name);
        if (onConnect)
            onConnect(name);
        if (throwOnConnect)
            throw DialUpControlError({1026, "CDialUpNetworking.Connect", "Connection failed"});
    }
    void Disconnect(const std::string& name) override { calls.push_back("Disconnect:" + name); }
    bool RaiseErrors() override { return raiseErrors; }
    void SetRaiseErrors(bool value) override { raiseErrors = value; }
    bool raiseErrors = false;

    int Count(const std::string& call) const {
        int n = 0;
        for (const auto& c : calls)
            n += c == call;
        return n;
    }
};

class Tray : public CycleTray {
public:
    std::vector<std::string> tips;
    std::vector<std::string> icons;
    void SetToolTip(const std::string& text) override { tips.push_back(text); }
    void SetIcon(const std::string& iconName) override { icons.push_back(iconName); }
};

// Each call as one line: "failure A|verdict", "recovery A|verdict", "sound n", "no-connection
// sound", "alert message", "error window", "frequency files".
class Notifications : public CycleNotifications {
public:
    std::vector<std::string> calls;
    void SendFailureNotification(const std::string& a, const std::string& v) override {
        calls.push_back("failure " + a + "|" + v);
    }
    void SendRecoveryNotification(const std::string& a, const std::string& v) override {
        calls.push_back("recovery " + a + "|" + v);
    }
    void PlaySiteFailureSound(int failures) override {
        calls.push_back("sound " + std::to_string(failures));
    }
    void PlayNoConnectionSound() override { calls.push_back("no-connection sound"); }
    void ShowAlert(const std::string& message) override { calls.push_back("alert " + message); }
    void ShowErrorWindow() override { calls.push_back("error window"); }
    void WriteFrequencyFiles() override { calls.push_back("frequency files"); }
};

} // namespace vigil::engine::fakes
