#pragma once

#include "platform/Clock.h"

namespace kestrelon {

// The machine's monotonic clock for intervals and its local time for time stamps.
class SystemClock : public Clock {
  public:
    std::uint32_t TickCount() const override;
    LocalTime Now() const override;
};

}  // namespace kestrelon
