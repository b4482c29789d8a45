#pragma once
// The monitor's windows other than the main one.
#include "vigil/forms/alert_box.h"
#include "vigil/forms/errors_window.h"
#include "vigil/forms/report_window.h"
#include "vigil/forms/settings_window.h"
#include "vigil/forms/splash_window.h"
#include "vigil/forms/uptime_window.h"
#include "vigil/forms/vigil_emailer.h"
