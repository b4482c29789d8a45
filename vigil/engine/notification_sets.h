#pragma once
// The notified set and the up set are hidden lists of addresses; membership is by exact
// text comparison, and an address is held at most once.
#include "vigil/forms/list_box.h"

#include <string>

namespace vigil::engine {

bool SetContains(const forms::ListBox& set, const std::string& address);
// Adds the address unless it is already there.
void SetAdd(forms::ListBox& set, const std::string& address);
// Removes the address if it is there.
void SetRemove(forms::ListBox& set, const std::string& address);

} // namespace vigil::engine
