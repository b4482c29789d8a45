#pragma once
// A mail transport played from a script: the server's lines are handed out in order, and
// everything the client sends is kept. A line "<timeout>" (or the end of the script) makes
// that receive fail as a time-out would.
#include "vigil/notify/mail_transport.h"

#include <deque>
#include <string>
#include <vector>

namespace vigil::notify::testing {

class ScriptedTransport : public MailTransport {
public:
    explicit ScriptedTransport(std::vector<std::string> serverLines)
        : lines_(serverLines.begin(), serverLines.end()) {}

    TransportStatus Connect(const std::string& host, int port, int timeoutSeconds) override {
        this->host = host;
        this->port = port;
        connectTimeout = timeoutSeconds;
        if (refuseConnect)
            return TransportStatus::Failure("connection refused");
        connected = true;
        return TransportStatus::Ok();
    }
    TransportStatus Send(std::string_view bytes, int timeoutSeconds) override {
        timeouts.push_back(timeoutSeconds);
        if (!connected)
            return TransportStatus::Failure("not connected");
        sent.append(bytes);
        return TransportStatus::Ok();
    }
    TransportStatus ReceiveLine(std::string& line, int timeoutSeconds) override {
        timeouts.push_back(timeoutSeconds);
        if (!connected)
            return TransportStatus::Failure("not connected");
        if (lines_.empty() || lines_.front() == "<timeout>") {
            if (!lines_.empty())
                lines_.pop_front();
            return TransportStatus::Failure("timed out");
        }
        line = lines_.front();
        lines_.pop_front();
        return TransportStatus::Ok();
    }
    void Close() override {
        connected = false;
        ++closes;
    }

    // The commands sent, one a line, without the message data.
    std::vector<std::string> Commands() const {
        std::vector<std::string> commands;
        bool inData = false;
        std::size_t start = 0;
        while (start < sent.size()) {
            std::size_t end = sent.find("\r\n", start);
            if (end == std::string::npos)
                end = sent.size();
            const std::string line = sent.substr(start, end - start);
            if (inData) {
                inData = line != ".";
            } else {
                commands.push_back(line);
                inData = line == "DATA" && dataAccepted;
            }
            start = end + 2;
        }
        return commands;
    }

    bool refuseConnect = false;
    bool dataAccepted = true; // whether DATA's reply in the script lets the data follow
    bool connected = false;
    int closes = 0;
    std::string host;
    int port = 0;
    int connectTimeout = 0;
    std::string sent;
    std::vector<int> timeouts;

private:
    std::deque<std::string> lines_;
};

} // namespace vigil::notify::testing
