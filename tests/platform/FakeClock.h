#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Clock.h"
#include "platform/Timer.h"

namespace kestrelon {

// A clock and timer factory that only moves when a test says so. Advance() moves the tick count
// and the wall clock together and fires every timer that falls due on the way, in time order,
// so a test sees exactly what the program would see after that much time.
class FakeClock : public Clock, public TimerFactory {
  public:
    FakeClock();
    ~FakeClock() override;
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    std::uint32_t TickCount() const override { return tick_; }
    LocalTime Now() const override { return now_; }

    // Sets the wall clock; the weekday is worked out from the date.
    void SetNow(LocalTime now);
    // Sets the tick count, e.g. just below the 32-bit wrap.
    void SetTickCount(std::uint32_t tick) { tick_ = tick; }

    // Moves time forward, firing due timers in order. A timer started or stopped from inside a
    // callback is honoured within the same call.
    void Advance(std::uint32_t ms);

    std::unique_ptr<Timer> CreateTimer(std::function<void()> onTimeout) override;

    int ActiveTimers() const;

    // Shared with the timers so that a timer outliving its clock stays harmless.
    struct Counters {
        std::uint64_t elapsed = 0;  // fake milliseconds since construction
        std::uint64_t sequence = 0;
    };
    struct TimerState;

  private:
    void MoveTo(std::uint64_t elapsed);

    std::uint32_t tick_ = 1000;
    LocalTime now_;
    std::shared_ptr<Counters> counters_;
    std::vector<std::weak_ptr<TimerState>> timers_;
};

// A LocalTime moved by a (possibly negative) number of milliseconds, with the weekday updated.
LocalTime AddMilliseconds(const LocalTime& time, std::int64_t ms);

}  // namespace kestrelon
