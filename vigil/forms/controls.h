#pragma once
// All headless control kinds, for the window structs.
#include "vigil/forms/button.h"
#include "vigil/forms/common_dialog.h"
#include "vigil/forms/form.h"
#include "vigil/forms/inet.h"
#include "vigil/forms/list_box.h"
#include "vigil/forms/list_view.h"
#include "vigil/forms/range_controls.h"
#include "vigil/forms/rich_text.h"
#include "vigil/forms/shape.h"
#include "vigil/forms/tab_strip.h"
#include "vigil/forms/text_box.h"
#include "vigil/forms/timer.h"
