#include "vigil/notify/alerts.h"

namespace vigil::notify {

Alerts::Alerts(forms::Windows& windows, SoundPlayer& player) : windows_(windows), player_(player) {
    subscriptions_.push_back(
        windows_.alertWindow.Command1.Clicked.Subscribe([this] { windows_.alertWindow.Hide(); }));
}

void Alerts::PlaySound1() {
    player_.PlaySync(windows_.form1.SoundToPlay1.Text());
}
void Alerts::PlaySound2() {
    player_.PlaySync(windows_.form1.SoundToPlay2.Text());
}
void Alerts::PlaySound3() {
    player_.PlaySync(windows_.form1.SoundToPlay3.Text());
}
void Alerts::PlayNoConnectionSound() {
    player_.PlaySync(windows_.form1.noConSound.Text());
}

void Alerts::PlaySiteFailureSound(int failures) {
    if (failures == 1)
        PlaySound1();
    else if (failures == 2)
        PlaySound2();
    else if (failures >= 3)
        PlaySound3();
}

void Alerts::ShowAlert(const std::string& message) {
    windows_.alertWindow.message.SetCaption(message);
    windows_.alertWindow.Show();
}

} // namespace vigil::notify
