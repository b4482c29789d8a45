#pragma once
// Sounds and the alert window: the sound the user chose for one, two, or three and more failed
// sites and for a missing web connection, and the small alert window with one message.
#include "vigil/forms/windows.h"
#include "vigil/notify/sound_player.h"

#include <string>
#include <vector>

namespace vigil::notify {

inline constexpr const char* kNoWebConnection = "No web connection detected";
inline constexpr const char* kWebConnectionFailure =
    "Web connection failure\r\ncheck modem and/or connection";
inline constexpr const char* kStillChecking =
    "Vigil is currently checking web sites.\r\nPlease wait until checking is complete";

class Alerts {
public:
    // Binds the alert window's "Ok", which only hides it (it keeps its text).
    Alerts(forms::Windows& windows, SoundPlayer& player);
    Alerts(const Alerts&) = delete;
    Alerts& operator=(const Alerts&) = delete;

    // Each plays its option's file (SoundToPlay1, SoundToPlay2, SoundToPlay3, noConSound) and
    // returns when it has finished.
    void PlaySound1();
    void PlaySound2();
    void PlaySound3();
    void PlayNoConnectionSound();

    // The end of a cycle with that many failed sites: 1, 2, or 3 and more pick the sound;
    // nothing plays for 0 (or fewer).
    void PlaySiteFailureSound(int failures);

    // Sets the message and shows the window (not modal); a shown window just gets the new text.
    void ShowAlert(const std::string& message);

private:
    forms::Windows& windows_;
    SoundPlayer& player_;
    std::vector<forms::Subscription> subscriptions_; // dropped with the object
};

} // namespace vigil::notify
