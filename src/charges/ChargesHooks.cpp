#include "charges/ChargesHooks.h"

#include <cmath>

#include "charges/ChargeCalc.h"
#include "charges/DateValue.h"
#include "charges/Statistics.h"
#include "core/AppCore.h"
#include "core/INIio.h"
#include "dialer/DialSessionController.h"

namespace kestrelon {

namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

}  // namespace

std::vector<std::string> ImportAndListChargeProfiles(ChargeState& charges) {
    ImportChargeFiles(charges.cache);
    return LoadChargeNames();
}

void LoadCurrentChargeProfile(ChargeState& charges, const std::string& chargeProfileName) {
    charges.CurrentChargeProfile = charges.cache.GetChargeProfile(chargeProfileName, {}, false);
}

double MomentBefore(const LocalTime& now, double seconds, const LocalZone& zone) {
    const std::int64_t nowClock = ToClockSeconds(
        MakeDateValue(now.year, now.month, now.day, now.hour, now.minute, now.second));
    const std::int64_t realMs =
        zone.ToReal(nowClock) * 1000 + now.millisecond - std::llround(seconds * 1000.0);
    const std::int64_t realSeconds = FloorDiv(realMs, 1000);
    const std::int64_t restMs = realMs - realSeconds * 1000;
    return FromClockSeconds(zone.ToClock(realSeconds)) +
           static_cast<double>(restMs) / (1000.0 * kSecondsPerDay);
}

Currency RunningCharges(const LocalTime& now, double onlineSeconds, const ChargeState& charges) {
    const double end = DateValueFromLocalTime(now);
    const double start = MomentBefore(now, onlineSeconds, charges.zone);
    return ConnectionCost(start, end, charges.CurrentChargeProfile, charges.zone);
}

std::string RunningChargesText(const LocalTime& now, double onlineSeconds,
                               const ChargeState& charges) {
    return FormatCurrency(RunningCharges(now, onlineSeconds, charges), IniRegionalFormat());
}

void RecordCurrentConnection(AppCore& app, const DialSession& session, const ChargeState& charges) {
    if (session.ConnLine <= 0) {
        return;
    }
    const ConnectionProfile* profile = app.profiles.Find(session.CurProfile);
    if (profile == nullptr) {
        return;
    }
    const LocalTime now = app.platform.clock.Now();
    // The tick count is the controller's own measure of the time online.
    const double online = (app.platform.clock.TickCount() - session.ConnectStart) / 1000.0;
    WriteStatisticsRecord(profile->Name, charges.CurrentChargeProfile.Name,
                          MomentBefore(now, online, charges.zone), DateValueFromLocalTime(now),
                          app.platform.messages);
}

void AttachCharges(AppCore& app, DialSessionController& controller, ChargeState& charges) {
    DialSessionHooks& hooks = controller.Hooks();
    hooks.loadChargeProfile = [&charges](const std::string& name) {
        LoadCurrentChargeProfile(charges, name);
    };
    hooks.chargesText = [&app, &charges](double onlineSeconds) {
        return RunningChargesText(app.platform.clock.Now(), onlineSeconds, charges);
    };
    hooks.recordStatistics = [&app, &controller, &charges] {
        RecordCurrentConnection(app, controller.Session(), charges);
    };
}

}  // namespace kestrelon
