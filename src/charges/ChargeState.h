#pragma once

#include "charges/ChargeProfile.h"
#include "charges/ChargeProfileStore.h"
#include "charges/LocalZone.h"

namespace kestrelon {

// The phone-charge records of one run: the profile cache, the tariff of the connection in use,
// the profile open in the editor, and the time zone through which durations are measured.
struct ChargeState {
    ChargeProfileCache cache;
    ChargeProfile CurrentChargeProfile;
    ChargeProfile EditedChargeProfile;
    SystemZone zone;
};

}  // namespace kestrelon
