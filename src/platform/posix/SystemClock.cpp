#include "platform/posix/SystemClock.h"

#include <chrono>
#include <ctime>

namespace kestrelon {

std::uint32_t SystemClock::TickCount() const {
    const auto sinceBoot = std::chrono::steady_clock::now().time_since_epoch();
    // Wraps after 49.7 days like the 32-bit tick count the interval arithmetic expects.
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(sinceBoot).count());
}

LocalTime SystemClock::Now() const {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm parts{};
    localtime_r(&seconds, &parts);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    LocalTime t;
    t.year = parts.tm_year + 1900;
    t.month = parts.tm_mon + 1;
    t.day = parts.tm_mday;
    t.hour = parts.tm_hour;
    t.minute = parts.tm_min;
    t.second = parts.tm_sec;
    t.millisecond = static_cast<int>(ms);
    t.weekday = parts.tm_wday;
    return t;
}

}  // namespace kestrelon
