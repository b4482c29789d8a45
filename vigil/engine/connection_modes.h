#pragma once
// The connection options of the main window: "Detect", the type's settings frame, the dial-up
// entry list filled from the dial-up control, the retry slider's mirror, and the dial-up
// control's events, whose text the waiting check cycle reads from dialState.
#include "vigil/engine/connection_flags.h"
#include "vigil/engine/dial_up_control.h"
#include "vigil/forms/windows.h"

#include <functional>

namespace vigil::engine {

// The texts the dial-up events leave in dialState.
inline constexpr char kDialConnected[] = "Connected";
inline constexpr char kDialConnectFailed[] = "Connection Failure";
inline constexpr char kDialDisconnected[] = "Connection Disconnected";
inline constexpr char kDialDisconnectFailed[] = "Disconnection Failure";

class ConnectionModes {
public:
    // save: the full settings save that follows every change made by the user.
    ConnectionModes(forms::Windows& windows, CheckInternetConnectionModule& connection,
                    DialUpControl& dialUp, std::function<void()> save);

    // Wires the controls of the "Connection" page and the dial-up control's events.
    void Bind();

    void DetectCon_Click();
    void dialType_Click();
    void ispListing_Click();
    void Slider1_Change();
    // Start-up, right after the settings load: the entries of the dial-up control.
    void FillDialUpEntries();

    void m_Ringer_Connected(const std::string& p_sName);
    void m_Ringer_ConnectFailed(const std::string& p_sName, const DialUpError& p_Err);
    void m_Ringer_Disconnected(const std::string& p_sName);
    void m_Ringer_DisconnectFailed(const std::string& p_sName, const DialUpError& p_Err);

private:
    forms::Windows& windows_;
    CheckInternetConnectionModule& connection_;
    DialUpControl& dialUp_;
    std::function<void()> save_;
};

} // namespace vigil::engine
