#pragma once
// Each site's count of good and bad checks, kept as decimal text in the main window's hidden
// lists at the site's position (the frequency data).
#include "vigil/forms/form1.h"

#include <string>

namespace vigil::engine {

// Rewrites the site's frequency address and adds the increments to its up and down counts;
// an empty or missing count counts as 0. A list that ends before the position grows to it, so
// a site with no frequency data yet (no frequency files, or the reset that empties the lists
// and calls this for every site with 0 and 0) gets its entries. A negative position, or one
// past the end and beyond any site's position, changes nothing.
void RecordCheckResult(forms::Form1& form1, const std::string& address, int position,
                       long long upIncrement, long long downIncrement);
// The increments are 0 or 1 as the check cycle passes them.

} // namespace vigil::engine
