#include "vigil/engine/connection_modes.h"

#include <string>

namespace vigil::engine {

ConnectionModes::ConnectionModes(forms::Windows& windows, CheckInternetConnectionModule& connection,
                                 DialUpControl& dialUp, std::function<void()> save)
    : windows_(windows), connection_(connection), dialUp_(dialUp), save_(std::move(save)) {}

void ConnectionModes::Bind() {
    forms::Form1& f = windows_.form1;
    f.DetectCon.Clicked.Add([this] { DetectCon_Click(); });
    f.dialType.Click.Add([this] { dialType_Click(); });
    f.ispListing.Click.Add([this] { ispListing_Click(); });
    f.Slider1.Change.Add([this] { Slider1_Change(); });
    for (forms::CheckBox* box : {&f.chkTriggerCon, &f.DialUpDisconnect, &f.monWeb})
        box->Clicked.Add([this] { save_(); });
    dialUp_.Connected.Add([this](const std::string& name) { m_Ringer_Connected(name); });
    dialUp_.ConnectFailed.Add(
        [this](const std::string& name, const DialUpError& e) { m_Ringer_ConnectFailed(name, e); });
    dialUp_.Disconnected.Add([this](const std::string& name) { m_Ringer_Disconnected(name); });
    dialUp_.DisconnectFailed.Add([this](const std::string& name, const DialUpError& e) {
        m_Ringer_DisconnectFailed(name, e);
    });
}

void ConnectionModes::DetectCon_Click() {
    const bool lan = connection_.IsLanConnection();
    const bool modem = connection_.IsModemConnection();
    const bool ras = connection_.IsRasInstalled();
    forms::ComboBox& type = windows_.form1.dialType;
    // In this order: with remote access and both connections, the LAN wins.
    if (!ras)
        type.SetListIndex(2);
    if (ras && modem)
        type.SetListIndex(0);
    if (ras && lan)
        type.SetListIndex(1);
}

void ConnectionModes::dialType_Click() {
    forms::Form1& f = windows_.form1;
    const int index = f.dialType.ListIndex();
    f.frmDialup.SetVisible(index == 0);
    f.frmProxy.SetVisible(index == 1);
    f.frmIE.SetVisible(index == 2);
    save_();
}

void ConnectionModes::ispListing_Click() {
    const forms::ComboBox& list = windows_.form1.ispListing;
    const int index = list.ListIndex();
    windows_.settings.dialUpConnection.SetText(index >= 0 ? list.List(index) : list.Text());
    save_();
}

void ConnectionModes::Slider1_Change() {
    windows_.form1.dialRetrys.SetText(std::to_string(windows_.form1.Slider1.Value()));
    save_();
}

void ConnectionModes::FillDialUpEntries() {
    forms::ComboBox& list = windows_.form1.ispListing;
    list.Clear();
    std::string stored = windows_.settings.dialUpConnection.Text();
    if (stored == "Error")
        stored.clear();
    int match = 0;
    try {
        const int count = dialUp_.ConnectionCount();
        const std::vector<std::string> names = dialUp_.Connections();
        for (int i = 1; i <= count && i <= static_cast<int>(names.size()); ++i) {
            const std::string& name = names[static_cast<std::size_t>(i - 1)];
            list.AddItem(name);
            if (!stored.empty() && name == stored)
                match = i;
        }
    } catch (const DialUpControlError&) {
        // Without a usable dial-up control the list stays as far as it got: start-up goes on.
    }
    list.SetText(match ? stored : std::string());
}

void ConnectionModes::m_Ringer_Connected(const std::string&) {
    windows_.settings.dialState.SetText(kDialConnected);
}
void ConnectionModes::m_Ringer_ConnectFailed(const std::string&, const DialUpError&) {
    windows_.settings.dialState.SetText(kDialConnectFailed);
}
void ConnectionModes::m_Ringer_Disconnected(const std::string&) {
    windows_.settings.dialState.SetText(kDialDisconnected);
}
void ConnectionModes::m_Ringer_DisconnectFailed(const std::string&, const DialUpError&) {
    windows_.settings.dialState.SetText(kDialDisconnectFailed);
}

} // namespace vigil::engine
