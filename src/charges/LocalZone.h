#pragma once

#include <cstdint>
#include <unordered_map>

namespace kestrelon {

// How readings of the local clock map to seconds that really passed. Moments are stored as
// local clock readings (what the desktop showed); a charge is due for real seconds, so every
// duration is measured between the real instants that two readings denote. Both sides count
// seconds since 30 December 1899 00:00, the local side on the clock face, the real side in UTC.
class LocalZone {
  public:
    virtual ~LocalZone() = default;
    // Readings in the hour skipped or repeated by a change are resolved as the system's C
    // library resolves them (mktime with the daylight flag unknown).
    virtual std::int64_t ToReal(std::int64_t clockSeconds) const = 0;
    virtual std::int64_t ToClock(std::int64_t realSeconds) const = 0;
};

// A clock that never changes its offset: local readings are real seconds.
class UniformZone : public LocalZone {
  public:
    std::int64_t ToReal(std::int64_t clockSeconds) const override { return clockSeconds; }
    std::int64_t ToClock(std::int64_t realSeconds) const override { return realSeconds; }
};

// The uniform zone, for callers that measure on the clock face alone.
const LocalZone& ClockFaceZone();

// The system's time zone (the TZ setting), through the C library. The offset of each local day
// is asked once and kept, so that a computation over many moments stays fast; a day with a
// clock change is resolved second by second.
class SystemZone : public LocalZone {
  public:
    std::int64_t ToReal(std::int64_t clockSeconds) const override;
    std::int64_t ToClock(std::int64_t realSeconds) const override;

  private:
    // UTC offset (local minus real) in seconds at the start and end of a local day.
    struct DayOffsets {
        std::int64_t atStart = 0;
        std::int64_t atEnd = 0;
    };
    const DayOffsets& Day(std::int64_t day) const;

    // Filled on demand; a cache of answers, not state of the program.
    mutable std::unordered_map<std::int64_t, DayOffsets> days_;
};

}  // namespace kestrelon
