#include "charges/LocalZone.h"

#include <ctime>

namespace kestrelon {

namespace {

constexpr std::int64_t kDay = 86400;
// Seconds from 30 December 1899 to 1 January 1970.
constexpr std::int64_t kUnixEpoch = 25569 * kDay;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// The real instant of a local reading as the C library resolves it, in seconds since 1899.
std::int64_t SystemToReal(std::int64_t clockSeconds) {
    const std::int64_t unixClock = clockSeconds - kUnixEpoch;
    const std::int64_t days = FloorDiv(unixClock, kDay);
    const std::int64_t rest = unixClock - days * kDay;
    // Civil date of the local day, read back through gmtime of the clock reading.
    const std::time_t asUtc = static_cast<std::time_t>(days * kDay);
    std::tm civil{};
    gmtime_r(&asUtc, &civil);
    civil.tm_hour = static_cast<int>(rest / 3600);
    civil.tm_min = static_cast<int>(rest / 60 % 60);
    civil.tm_sec = static_cast<int>(rest % 60);
    civil.tm_isdst = -1;
    const std::time_t real = std::mktime(&civil);
    if (real == static_cast<std::time_t>(-1)) {
        return clockSeconds;
    }
    return static_cast<std::int64_t>(real) + kUnixEpoch;
}

std::int64_t SystemOffsetAtReal(std::int64_t realSeconds) {
    const std::time_t t = static_cast<std::time_t>(realSeconds - kUnixEpoch);
    std::tm local{};
    localtime_r(&t, &local);
    return local.tm_gmtoff;
}

}  // namespace

const LocalZone& ClockFaceZone() {
    static const UniformZone zone;
    return zone;
}

const SystemZone::DayOffsets& SystemZone::Day(std::int64_t day) const {
    auto it = days_.find(day);
    if (it == days_.end()) {
        const std::int64_t start = day * kDay;
        DayOffsets offsets;
        offsets.atStart = start - SystemToReal(start);
        offsets.atEnd = (start + kDay) - SystemToReal(start + kDay);
        it = days_.emplace(day, offsets).first;
    }
    return it->second;
}

std::int64_t SystemZone::ToReal(std::int64_t clockSeconds) const {
    const DayOffsets& d = Day(FloorDiv(clockSeconds, kDay));
    if (d.atStart == d.atEnd) {
        return clockSeconds - d.atStart;
    }
    return SystemToReal(clockSeconds);
}

std::int64_t SystemZone::ToClock(std::int64_t realSeconds) const {
    return realSeconds + SystemOffsetAtReal(realSeconds);
}

}  // namespace kestrelon
