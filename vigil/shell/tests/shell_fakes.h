#pragma once
// Fakes of the shell's ports that write what they are asked into one journal, so a test can
// check the order of start-up and shut-down steps.
#include "vigil/shell/shell_ports.h"

#include <map>
#include <string>
#include <vector>

namespace vigil::shell::fakes {

using Journal = std::vector<std::string>;

class Settings : public SettingsPort {
public:
    explicit Settings(Journal& journal) : journal_(journal) {}
    std::map<std::string, std::string> locale;
    std::function<void()> onLoad;

    void LoadSettings() override {
        journal_.push_back("LoadSettings");
        if (onLoad)
            onLoad();
    }
    void SaveSettings() override { journal_.push_back("SaveSettings"); }
    std::string ReadLocaleSetting(const std::string& name) override {
        journal_.push_back("ReadLocale " + name);
        auto it = locale.find(name);
        return it == locale.end() ? std::string() : it->second;
    }
    void AddRunEntry() override { journal_.push_back("AddRunEntry"); }
    void RemoveRunEntry(const std::string& path) override {
        journal_.push_back("RemoveRunEntry " + path);
    }

private:
    Journal& journal_;
};

class OpenDialog : public FileOpenDialog {
public:
    bool picks = false;
    std::string picked;
    int shown = 0;
    std::string filterSeen;
    bool ShowOpen(forms::CommonDialog& dialog) override {
        ++shown;
        filterSeen = dialog.Filter();
        if (picks)
            dialog.SetFileName(picked);
        return picks;
    }
};

class Shell : public ShellOpen {
public:
    std::vector<std::string> opened;
    void Open(const std::string& address) override { opened.push_back(address); }
};

class Process : public ProcessPort {
public:
    explicit Process(Journal& journal) : journal_(journal) {}
    bool otherInstance = false;
    std::string folder = "C:\\Start";
    std::map<std::string, std::string> files;       // by name, relative to the folder
    std::map<std::string, std::string> folderFiles; // "folder\name"

    bool AnotherInstanceRuns() override {
        journal_.push_back("AnotherInstanceRuns");
        return otherInstance;
    }
    bool ChangeFolder(const std::string& path) override {
        journal_.push_back("ChangeFolder " + path);
        folder = path;
        return true;
    }
    std::string CurrentFolder() const override { return folder; }
    std::optional<std::string> ReadTextFile(const std::string& name) override {
        journal_.push_back("ReadTextFile " + name);
        auto it = folderFiles.find(folder + "\\" + name);
        if (it == folderFiles.end())
            return std::nullopt;
        return it->second;
    }
    void BringMainWindowToFront() override { journal_.push_back("BringMainWindowToFront"); }
    void EndMessageLoop() override { journal_.push_back("EndMessageLoop"); }
    void EndProgramNow() override { journal_.push_back("EndProgramNow"); }

private:
    Journal& journal_;
};

} // namespace vigil::shell::fakes
