#include "vigil/shell/main_window_behaviour.h"

#include <utility>

namespace vigil::shell {

int DigitsOnly(int key) {
    if ((key >= '0' && key <= '9') || key == 8 || key == 13)
        return key;
    return 0;
}

MainWindowBehaviour::MainWindowBehaviour(forms::Form1& form, SettingsPort& settings,
                                         FileOpenDialog& dialog, ShellOpen& shell,
                                         const engine::FileSystem& files)
    : f_(form), settings_(settings), dialog_(dialog), shell_(shell), files_(files) {
    f_.TabStrip1.Click.Add([this] { TabStrip1_Click(); });

    const std::pair<forms::Button*, forms::Frame*> subPages[] = {
        {&f_.Command6, &f_.frmSettingsCon},
        {&f_.Command7, &f_.frmSettingsStart},
        {&f_.Command8, &f_.frmSettingsReporting},
        {&f_.Command9, &f_.frmSettingsAudio}};
    for (auto [button, page] : subPages)
        button->Clicked.Add([this, page = page] { ShowSubPage(*page); });

    for (forms::TextBox* box : {&f_.intervalMins, &f_.intervalHours, &f_.proxyPort})
        box->KeyPress.Add([](int& key) { key = DigitsOnly(key); });

    const std::pair<forms::Button*, forms::TextBox*> browse[] = {{&f_.Browse1, &f_.SoundToPlay1},
                                                                 {&f_.Browse3, &f_.SoundToPlay2},
                                                                 {&f_.Browse4, &f_.SoundToPlay3},
                                                                 {&f_.browse2, &f_.noConSound}};
    for (auto [button, field] : browse)
        button->Clicked.Add([this, field = field] { Browse(*field); });

    f_.windowsApply.Clicked.Add([this] { windowsApply_Click(); });
    f_.webLink.Clicked.Add([this] { webLink_Click(); });

    // chkTriggerCon, monWeb and DialUpDisconnect belong to the connection options, which save
    // them themselves (engine::ConnectionModes); a second save here would write twice.
    for (forms::CheckBox* box :
         {&f_.connection, &f_.errorWin, &f_.startmin, &f_.startschedule, &f_.exReport,
          &f_.htmlEmail, &f_.uptimeEmail, &f_.emailOnline, &f_.chkHttpStatus})
        box->Clicked.Add([this] { settings_.SaveSettings(); });
    f_.connectionUrl.Change.Add([this] { settings_.SaveSettings(); });
}

void MainWindowBehaviour::TabStrip1_Click() {
    const std::pair<const char*, forms::Frame*> pages[] = {
        {forms::kTabMonitor, &f_.MonitoringFrm},  {forms::kTabOptions, &f_.optionsFrm},
        {forms::kTabSchedule, &f_.schedulingFrm}, {forms::kTabNotification, &f_.notifyFrm},
        {forms::kTabAbout, &f_.frmAbout},         {forms::kTabConnection, &f_.frmConnection}};
    const std::string caption = f_.TabStrip1.SelectedCaption();
    for (auto [tab, frame] : pages) {
        if (caption != tab)
            continue;
        for (auto [other, otherFrame] : pages)
            otherFrame->SetVisible(otherFrame == frame);
        return;
    }
}

void MainWindowBehaviour::ShowSubPage(forms::Frame& page) {
    for (forms::Frame* each :
         {&f_.frmSettingsCon, &f_.frmSettingsStart, &f_.frmSettingsReporting, &f_.frmSettingsAudio})
        each->SetVisible(each == &page);
}

void MainWindowBehaviour::Browse(forms::TextBox& field) {
    const std::string before = field.Text();
    if (dialog_.ShowOpen(f_.dialog)) {
        field.SetText(f_.dialog.FileName());
        settings_.SaveSettings();
    } else {
        field.SetText(before);
    }
}

void MainWindowBehaviour::windowsApply_Click() {
    settings_.SaveSettings();
    int value = f_.windowsStart.Value();
    if (value == 1 || value == -1) {
        settings_.AddRunEntry();
        return;
    }
    std::string folder = files_.CurrentDirectory();
    if (folder.empty() || folder.back() != '\\')
        folder += '\\';
    settings_.RemoveRunEntry(folder + kProgramFile);
}

void MainWindowBehaviour::webLink_Click() {
    shell_.Open(kVendorHomePage);
}

} // namespace vigil::shell
