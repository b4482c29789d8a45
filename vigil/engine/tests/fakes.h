#pragma once
// Fakes of the engine's ports for the host unit tests.
#include "vigil/engine/clock_locale.h"
#include "vigil/engine/dialogs.h"
#include "vigil/engine/file_system.h"
#include "vigil/engine/message_pump.h"
#include "vigil/engine/page_transfer.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vigil::engine::fakes {

// A clock set by the test; the short date reads MM/dd/yyyy, lower-casing is ASCII only. The
// monotonic clock moves only when the test moves it or something sleeps.
class Clock : public ClockLocale {
public:
    LocalTime now{2026, 7, 12, 9, 30, 0};
    mutable std::int64_t monotonicMs = 1000;
    mutable std::vector<int> sleeps;

    std::int64_t MonotonicMs() const override { return monotonicMs; }
    void Sleep(int milliseconds) const override {
        sleeps.push_back(milliseconds);
        monotonicMs += milliseconds;
    }

    LocalTime Now() const override { return now; }
    std::string ShortDate(const LocalTime& t) const override {
        char text[32];
        std::snprintf(text, sizeof text, "%02d/%02d/%04d", t.month, t.day, t.year);
        return text;
    }
    std::string GeneralDate(const LocalTime& t) const override {
        char time[32];
        std::snprintf(time, sizeof time, " %02d:%02d:%02d", t.hour, t.minute, t.second);
        return ShortDate(t) + time;
    }
    std::string LowerCase(std::string text) const override {
        for (char& c : text)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    }
};

// Files in memory; a write succeeds only into a folder the test has created.
class Files : public FileSystem {
public:
    std::string currentDirectory = "C:\\Vigil";
    std::set<std::string> folders;
    std::map<std::string, std::string> files;
    int writes = 0;

    std::string CurrentDirectory() const override { return currentDirectory; }
    bool WriteWholeFile(const std::string& path, const std::string& bytes) override {
        ++writes;
        std::size_t slash = path.rfind('\\');
        std::string folder = slash == std::string::npos ? "" : path.substr(0, slash);
        if (!folder.empty() && !folders.count(folder))
            return false;
        files[path] = bytes;
        return true;
    }
    std::optional<std::string> ReadWholeFile(const std::string& path) const override {
        auto it = files.find(path);
        if (it == files.end())
            return std::nullopt;
        return it->second;
    }
};

class RecordingDialogs : public Dialogs {
public:
    struct Shown {
        std::string text;
        std::string title;
        MsgBoxButtons buttons;
    };
    std::vector<Shown> shown;
    MsgBoxResult answer = MsgBoxResult::Ok;
    std::string saveName;             // what the save dialog answers ("" is a cancel)
    std::vector<std::string> filters; // the filter of every save dialog shown

    MsgBoxResult MsgBox(const std::string& text, const std::string& title,
                        MsgBoxButtons buttons) override {
        shown.push_back({text, title, buttons});
        return answer;
    }
    std::string SaveFileName(const std::string& filter) override {
        filters.push_back(filter);
        return saveName;
    }
};

class CountingPump : public MessagePump {
public:
    int calls = 0;
    std::function<void()> onDoEvents;
    void DoEvents() override {
        ++calls;
        if (onDoEvents)
            onDoEvents();
    }
};

// Answers each Open with the next scripted result and keeps the requests it was given.
class ScriptedTransfer : public PageTransfer {
public:
    std::deque<TransferResult> results;
    std::vector<TransferRequest> requests;
    std::function<void()> beforeAnswer; // runs while the transfer "executes"
    bool executing = false;
    int cancels = 0;

    TransferResult Open(const TransferRequest& request) override {
        requests.push_back(request);
        executing = true;
        if (beforeAnswer)
            beforeAnswer();
        executing = false;
        if (results.empty())
            return TransferResult::Failure("nothing scripted");
        TransferResult result = results.front();
        results.pop_front();
        return result;
    }
    bool StillExecuting() const override { return executing; }
    void Cancel() override { ++cancels; }
};

} // namespace vigil::engine::fakes
