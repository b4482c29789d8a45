#pragma once
// The command-line switch "/show:<view>" brings one page, sub-page or window to the front at
// start, so that a script can photograph every view of the program. Names: monitor, options,
// options.connection, options.startup, options.reporting, options.audio, connection,
// connection.dialup, connection.proxy, connection.ie, schedule, notification, about, settings,
// report, errors, errors.expanded, uptime, emailer, alert, splash.
#include "vigil/forms/windows.h"

#include <optional>
#include <string>

namespace vigil::shell {

// The view named by a command line, or nothing when it has no "/show:" switch.
std::optional<std::string> ShowSwitch(const std::string& commandLine);

// Brings the view forward through the controls, as the user's clicks would; false for a name
// it does not know (nothing changes then).
bool ShowView(forms::Windows& windows, const std::string& view);

} // namespace vigil::shell
