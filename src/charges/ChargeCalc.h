#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

#include "charges/ChargeProfile.h"
#include "charges/LocalZone.h"
#include "core/Currency.h"

namespace kestrelon {

// Rate × seconds ÷ 3600, rounded to the nearest ten-thousandth, halves to even; exact.
Currency RateTimesSeconds(Currency ratePerHour, std::int64_t seconds);

bool IsWeekdayInSet(std::int32_t set, int weekday);

// A charge profile prepared for the arithmetic: times of day as whole seconds, moments as whole
// seconds of the local clock face (ToClockSeconds). Window numbers are 1 .. Count(); 0 is the
// base rate. Pieces are charged for the real seconds between their ends (see LocalZone).
class Tariff {
  public:
    explicit Tariff(const ChargeProfile& profile);

    int Count() const { return count_; }
    Currency StartRate() const { return startRate_; }

    // The charges of one connection, start rate included.
    Currency ConnectionCost(std::int64_t start, std::int64_t end, const LocalZone& zone) const;
    // The first window (lowest number) covering the moment; 0 when none does.
    int FindRateWindow(std::int64_t moment) const;
    // The occurrence of window k that covers or follows the moment's day; nothing when the
    // window has no weekday.
    std::optional<std::pair<std::int64_t, std::int64_t>> WindowOccurrence(
        int k, std::int64_t moment) const;
    // The next start of window k at or after the moment; nothing when it never starts.
    std::optional<std::int64_t> NextWindowStart(std::int64_t moment, int k) const;
    // The charges from start to end beginning in window k (0 = base rate), start rate excluded.
    Currency WindowCost(std::int64_t start, std::int64_t end, int k, const LocalZone& zone) const;

  private:
    struct Window {
        std::int32_t weekDays = 0;
        std::int64_t start = 0;  // seconds of the day
        std::int64_t end = 0;
        Currency rate;
    };
    const Window& At(int k) const { return windows_[static_cast<std::size_t>(k)]; }

    Currency startRate_;
    Currency baseRate_;
    int count_ = 0;
    std::array<Window, ChargeProfile::kMaxWindows + 2> windows_{};
};

// The operations on date-time values (days since 30 December 1899, local time).

Currency ConnectionCost(double start, double end, const ChargeProfile& profile,
                        const LocalZone& zone = ClockFaceZone());
int FindRateWindow(double moment, const ChargeProfile& profile);
// (occurrence start, occurrence end); (0, 0) when the window has no weekday.
std::pair<double, double> WindowOccurrence(const RateWindow& window, double moment);
// 0 when the window never occurs.
double NextWindowStart(double moment, const ChargeProfile& profile, int k);
Currency WindowCost(double start, double end, const ChargeProfile& profile, int k,
                    const LocalZone& zone = ClockFaceZone());

// Start of the period of a moment: "ymdh" hour, "ymd" day, "yw" week (weeks begin on the
// weekday of 1 January), "ym" month, "y" year; 0 for any other code.
double PeriodStart(std::string_view code, double moment);

// The seconds of connection [c, d] inside period [a, b]; a mere touch adds 0.
void AddSecondsInPeriod(std::int32_t& total, std::int64_t a, std::int64_t b, std::int64_t c,
                        std::int64_t d, const LocalZone& zone);
// The charges of connection [c, d] inside period [a, b]. The start rate belongs to the period
// in which the connection began: a connection that began earlier is charged without it, and
// one that begins exactly at the period's end belongs to the next period only.
void AddChargesInPeriod(Currency& total, std::int64_t a, std::int64_t b, std::int64_t c,
                        std::int64_t d, const Tariff& tariff, const LocalZone& zone);

void AddSecondsInPeriod(std::int32_t& total, double a, double b, double c, double d,
                        const LocalZone& zone = ClockFaceZone());
void AddChargesInPeriod(Currency& total, double a, double b, double c, double d,
                        const ChargeProfile& profile, const LocalZone& zone = ClockFaceZone());

}  // namespace kestrelon
