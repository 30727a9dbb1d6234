#pragma once

#include <string>
#include <vector>

#include "charges/ChargeState.h"
#include "charges/LocalZone.h"
#include "core/Currency.h"
#include "platform/Clock.h"

namespace kestrelon {

class AppCore;
class DialSessionController;
struct DialSession;

// Start-up: merges the loose "cp*.INI" files and returns the charge profile names.
std::vector<std::string> ImportAndListChargeProfiles(ChargeState& charges);

// The connection now in use gets its tariff (read through the cache, not reloaded).
void LoadCurrentChargeProfile(ChargeState& charges, const std::string& chargeProfileName);

// The moment a number of seconds before now, measured in real seconds (see LocalZone).
double MomentBefore(const LocalTime& now, double seconds, const LocalZone& zone);

// The charges of the connection in use from (now - onlineSeconds) to now.
Currency RunningCharges(const LocalTime& now, double onlineSeconds, const ChargeState& charges);
// The same as currency text in the regional format.
std::string RunningChargesText(const LocalTime& now, double onlineSeconds,
                               const ChargeState& charges);

// Writes the record of the connection that is online (start = now minus the time since it
// connected, end = now); does nothing when no line is connected.
void RecordCurrentConnection(AppCore& app, const DialSession& session, const ChargeState& charges);

// Sets the controller's hooks loadChargeProfile, chargesText and recordStatistics.
void AttachCharges(AppCore& app, DialSessionController& controller, ChargeState& charges);

}  // namespace kestrelon
