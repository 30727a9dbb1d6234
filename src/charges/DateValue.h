#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Clock.h"

namespace kestrelon {

// Moments are date-time values: days since 30 December 1899 as a double, the fraction being the
// local time of day. Moments before that day are not used by the program.

struct DateParts {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int weekday = 7;  // 1 = Sunday .. 7 = Saturday
};

inline constexpr std::int64_t kSecondsPerDay = 86400;

double MakeDateValue(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
double DateValueFromLocalTime(const LocalTime& time);
// Rounded to the whole second.
DateParts SplitDateValue(double moment);

// The whole day (midnight) and the time of day of a moment.
double DatePart(double moment);
double TimePart(double moment);
// 1 = Sunday .. 7 = Saturday.
int WeekdayOf(double moment);

// The moment as whole seconds of the local clock face since 30 December 1899, rounded; the
// calculation works on these so that equal clock readings compare equal exactly.
std::int64_t ToClockSeconds(double moment);
double FromClockSeconds(std::int64_t seconds);
// Seconds of a time-of-day value (0 .. 86399).
std::int64_t TimeOfDaySeconds(double timeValue);

// Calendar steps: "h" hour, "d" day, "m" month, "yyyy" year. A month or year step keeps the
// day of month, cut to the last day of a shorter month. Unknown steps return the moment.
double DateAdd(std::string_view step, int count, double moment);

// A time of day typed or stored as "H:MM", "H:MM:SS", optionally with AM/PM; nothing when the
// text is not a time.
std::optional<double> ParseTimeOfDay(std::string_view text);
// The stored form of a time of day, "HH:MM:SS".
std::string TimeOfDayText(double timeValue);

// Abbreviated English month name, 1 = "Jan".
std::string MonthAbbreviation(int month);

}  // namespace kestrelon
