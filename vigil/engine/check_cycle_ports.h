#pragma once
// What the check cycle reaches beyond the windows and the connection (the connection flags and
// the dial-up control have ports of their own): the notification-area icon, and the
// notification and reporting procedures that tell the user about the outcome.
#include <string>

namespace vigil::engine {

// The notification-area icon of the main window.
class CycleTray {
public:
    virtual ~CycleTray() = default;

    virtual void SetToolTip(const std::string& text) = 0;
    // Shows the icon resource of that name ("NORMAL", "BLANK", "GREEN", "YELLOW", "RED",
    // "NOWEB").
    virtual void SetIcon(const std::string& iconName) = 0;
};

// The notification and reporting procedures the cycle starts; each decides for itself how
// the user is told.
class CycleNotifications {
public:
    virtual ~CycleNotifications() = default;

    // A site judged down; the notification method is not "None".
    virtual void SendFailureNotification(const std::string& address,
                                         const std::string& verdict) = 0;
    // A site up again that is not in the up set.
    virtual void SendRecoveryNotification(const std::string& address,
                                          const std::string& verdict) = 0;
    // The alert sound for one, two, or three and more failed sites (failures >= 1).
    virtual void PlaySiteFailureSound(int failures) = 0;
    // The sound for a missing or lost web connection.
    virtual void PlayNoConnectionSound() = 0;
    // Shows the alert window with this message.
    virtual void ShowAlert(const std::string& message) = 0;
    // Shows the error window (modeless) with the sites of errorList.
    virtual void ShowErrorWindow() = 0;
    // Writes the three frequency files from urlList, uptimeList and downTimeList.
    virtual void WriteFrequencyFiles() = 0;
};

} // namespace vigil::engine
