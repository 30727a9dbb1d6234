#include "charges/DateValue.h"

#include <array>
#include <cmath>
#include <cstdio>

#include "core/IniDocument.h"

namespace kestrelon {

namespace {

// Days of a civil date since 1 March of year 0 shifted to the Unix epoch (H. Hinnant's
// algorithm), exact for every proleptic Gregorian date.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2 ? 1 : 0));
}

const std::int64_t kBaseDay = DaysFromCivil(1899, 12, 30);

int DaysInMonth(int year, int month) {
    static constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

}  // namespace

double MakeDateValue(int year, int month, int day, int hour, int minute, int second) {
    // Months beyond 12 or below 1 roll into the neighbouring years.
    const int zeroMonth = month - 1;
    const int y = year + static_cast<int>(FloorDiv(zeroMonth, 12));
    const int m = static_cast<int>(zeroMonth - FloorDiv(zeroMonth, 12) * 12) + 1;
    const std::int64_t days = DaysFromCivil(y, static_cast<unsigned>(m), 1) + (day - 1) - kBaseDay;
    const std::int64_t seconds = days * kSecondsPerDay + hour * 3600LL + minute * 60LL + second;
    return FromClockSeconds(seconds);
}

double DateValueFromLocalTime(const LocalTime& time) {
    return MakeDateValue(time.year, time.month, time.day, time.hour, time.minute, time.second) +
           time.millisecond / (1000.0 * kSecondsPerDay);
}

std::int64_t ToClockSeconds(double moment) {
    return std::llround(moment * static_cast<double>(kSecondsPerDay));
}

double FromClockSeconds(std::int64_t seconds) {
    // Whole days and the second of the day apart, so that whole days stay exact.
    const std::int64_t days = FloorDiv(seconds, kSecondsPerDay);
    const std::int64_t rest = seconds - days * kSecondsPerDay;
    return static_cast<double>(days) +
           static_cast<double>(rest) / static_cast<double>(kSecondsPerDay);
}

std::int64_t TimeOfDaySeconds(double timeValue) {
    const std::int64_t s = ToClockSeconds(timeValue);
    return s - FloorDiv(s, kSecondsPerDay) * kSecondsPerDay;
}

DateParts SplitDateValue(double moment) {
    const std::int64_t seconds = ToClockSeconds(moment);
    const std::int64_t days = FloorDiv(seconds, kSecondsPerDay);
    const std::int64_t rest = seconds - days * kSecondsPerDay;
    DateParts parts;
    CivilFromDays(days + kBaseDay, parts.year, parts.month, parts.day);
    parts.hour = static_cast<int>(rest / 3600);
    parts.minute = static_cast<int>(rest / 60 % 60);
    parts.second = static_cast<int>(rest % 60);
    // 30 December 1899 was a Saturday.
    parts.weekday = static_cast<int>((days % 7 + 7 + 6) % 7) + 1;
    return parts;
}

double DatePart(double moment) {
    return static_cast<double>(FloorDiv(ToClockSeconds(moment), kSecondsPerDay));
}

double TimePart(double moment) {
    return static_cast<double>(TimeOfDaySeconds(moment)) / static_cast<double>(kSecondsPerDay);
}

int WeekdayOf(double moment) {
    return SplitDateValue(moment).weekday;
}

double DateAdd(std::string_view step, int count, double moment) {
    if (step == "h") {
        return FromClockSeconds(ToClockSeconds(moment) + count * 3600LL);
    }
    if (step == "d") {
        return FromClockSeconds(ToClockSeconds(moment) + count * kSecondsPerDay);
    }
    if (step != "m" && step != "yyyy") {
        return moment;
    }
    const DateParts p = SplitDateValue(moment);
    const int months = step == "m" ? count : count * 12;
    const int zeroMonth = p.year * 12 + (p.month - 1) + months;
    const int year = static_cast<int>(FloorDiv(zeroMonth, 12));
    const int month = zeroMonth - year * 12 + 1;
    const int day = std::min(p.day, DaysInMonth(year, month));
    return MakeDateValue(year, month, day, p.hour, p.minute, p.second);
}

std::optional<double> ParseTimeOfDay(std::string_view text) {
    std::string t = ToLower(Trim(text));
    int pm = -1;
    if (t.ends_with("am") || t.ends_with("pm")) {
        pm = t.ends_with("pm") ? 1 : 0;
        t = Trim(t.substr(0, t.size() - 2));
    }
    std::array<int, 3> fields{0, 0, 0};
    std::size_t count = 0;
    std::size_t at = 0;
    while (count < fields.size()) {
        std::size_t digits = 0;
        int value = 0;
        while (at < t.size() && t[at] >= '0' && t[at] <= '9' && digits < 2) {
            value = value * 10 + (t[at] - '0');
            ++at;
            ++digits;
        }
        if (digits == 0) {
            return std::nullopt;
        }
        fields[count++] = value;
        if (at == t.size()) {
            break;
        }
        if (t[at] != ':') {
            return std::nullopt;
        }
        ++at;
    }
    if (at != t.size() || count < 2) {
        return std::nullopt;
    }
    int hour = fields[0];
    if (pm >= 0) {
        if (hour < 1 || hour > 12) {
            return std::nullopt;
        }
        hour = hour % 12 + (pm == 1 ? 12 : 0);
    }
    if (hour > 23 || fields[1] > 59 || fields[2] > 59) {
        return std::nullopt;
    }
    return FromClockSeconds(hour * 3600LL + fields[1] * 60LL + fields[2]);
}

std::string TimeOfDayText(double timeValue) {
    const std::int64_t s = TimeOfDaySeconds(timeValue);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", static_cast<int>(s / 3600),
                  static_cast<int>(s / 60 % 60), static_cast<int>(s % 60));
    return buffer;
}

std::string MonthAbbreviation(int month) {
    static constexpr std::array<const char*, 12> kNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return month >= 1 && month <= 12 ? kNames[static_cast<std::size_t>(month - 1)] : "";
}

}  // namespace kestrelon
