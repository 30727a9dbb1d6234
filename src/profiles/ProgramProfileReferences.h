#pragma once

#include "profiles/ConProfMod.h"

namespace kestrelon {

class AppCore;
class DialSessionController;

// The profile numbers this run holds outside the table: the selection, the dial session's
// profile, StartCon and the tasks. Without a controller the session's number is left out.
ProfileReferences ProfileReferencesOf(AppCore& app, DialSessionController* controller);

}  // namespace kestrelon
