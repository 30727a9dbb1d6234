#include "dialer/DialSession.h"

#include <cmath>
#include <cstdio>

namespace kestrelon {

std::string FormatDuration(double seconds, bool hoursAndMinutes) {
    const long long total = seconds > 0 ? static_cast<long long>(seconds) : 0;
    const long long hours = total / 3600;
    const long long minutes = total / 60 % 60;
    const long long secs = total % 60;
    char text[48];
    if (hoursAndMinutes) {
        std::snprintf(text, sizeof text, "%lld:%02lld", hours, minutes);
    } else if (hours > 0) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", hours, minutes, secs);
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld", minutes, secs);
    }
    return text;
}

std::string FormatDialsPerMinute(int dialCount, float dialSeconds) {
    // A dial that connected within the same instant has no meaningful rate.
    if (dialSeconds <= 0) {
        return "0";
    }
    const double perMinute = dialCount * 60.0 / dialSeconds;
    char text[48];
    if (perMinute < 10) {
        const double tenths = std::floor(perMinute * 10);
        std::snprintf(text, sizeof text, "%.1f", tenths / 10);
    } else {
        std::snprintf(text, sizeof text, "%.0f", std::round(perMinute));
    }
    return text;
}

}  // namespace kestrelon
