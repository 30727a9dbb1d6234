#pragma once

#include <cstdint>

namespace kestrelon {

// A moment of the local wall clock, as the user's desktop shows it.
struct LocalTime {
    int year = 1899;
    int month = 12;  // 1..12
    int day = 30;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    int weekday = 6;  // 0 = Sunday .. 6 = Saturday
};

// Time as the program sees it: a monotonic millisecond tick for intervals (wrapping like a
// 32-bit tick count) and the local wall-clock time for time stamps and schedules.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual std::uint32_t TickCount() const = 0;
    virtual LocalTime Now() const = 0;
};

}  // namespace kestrelon
