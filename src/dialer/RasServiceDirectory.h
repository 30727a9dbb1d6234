#pragma once

#include <string>

namespace kestrelon {

// The directory of the simulated remote access service, shared by every process of the user:
// KESTRELON_RAS_DIR when set, else $XDG_CONFIG_HOME/kestrelon-ras, else ~/.config/kestrelon-ras.
// It is created when missing; "" when no directory can be named at all.
std::string RasServiceDirectory();

}  // namespace kestrelon
