#pragma once
// Fakes of the reporting ports for the host tests.
#include "vigil/notify/report_ports.h"
#include "vigil/notify/sound_player.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace vigil::notify::fakes {

class Sounds : public SoundPlayer {
public:
    std::vector<std::string> played;
    void PlaySync(const std::string& fileName) override { played.push_back(fileName); }
};

class Shell : public ShellOpener {
public:
    std::vector<std::pair<std::string, ShellOwner>> opened;
    void Open(const std::string& target, ShellOwner owner) override {
        opened.emplace_back(target, owner);
    }
};

class Printer : public ReportPrinter {
public:
    bool chosen = true; // false: the user cancels the dialog
    std::vector<unsigned> dialogFlags;
    std::vector<std::string> printed;
    bool ChoosePrinter(unsigned flags) override {
        dialogFlags.push_back(flags);
        return chosen;
    }
    void Print(const std::string& text) override { printed.push_back(text); }
};

class Places : public WindowPlaceStore {
public:
    std::map<std::string, WindowPosition> stored;
    std::vector<std::string> saves;
    std::optional<WindowPosition> Load(const std::string& name) override {
        auto it = stored.find(name);
        if (it == stored.end())
            return std::nullopt;
        return it->second;
    }
    void Save(const std::string& name, const WindowPosition& position) override {
        saves.push_back(name);
        stored[name] = position;
    }
};

} // namespace vigil::notify::fakes
