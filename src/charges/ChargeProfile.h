#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/Currency.h"

namespace kestrelon {

// One timed rate of a tariff.
struct RateWindow {
    // Bit n-1 for weekday n (1 = Sunday .. 7 = Saturday); 127 = every day.
    std::int32_t WeekDays = 0;
    // Times of day (only the fraction counts). The window opens at StartTime (inclusive) and
    // closes at EndTime (exclusive); an EndTime not later than StartTime closes the next day.
    double StartTime = 0;
    double EndTime = 0;
    Currency Rate;  // per hour

    bool operator==(const RateWindow&) const = default;
};

// A tariff: a charge per connection, a base rate per hour and rate windows 1 .. nItems.
struct ChargeProfile {
    static constexpr int kMaxWindows = 63;
    static constexpr int kEveryDay = 127;

    std::string Name;
    Currency StartRate;  // once per connection
    Currency BaseRate;   // per hour where no window applies
    std::int32_t nItems = 0;
    // Slot 0 is never used; the slot after the last window is the calculation's scratch.
    std::array<RateWindow, kMaxWindows + 2> Items{};

    RateWindow& Window(int n) { return Items[static_cast<std::size_t>(n)]; }
    const RateWindow& Window(int n) const { return Items[static_cast<std::size_t>(n)]; }

    bool operator==(const ChargeProfile&) const = default;
};

}  // namespace kestrelon
