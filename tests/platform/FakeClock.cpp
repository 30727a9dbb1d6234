#include "platform/FakeClock.h"

#include <algorithm>

namespace kestrelon {

struct FakeClock::TimerState {
    std::function<void()> onTimeout;
    bool active = false;
    bool singleShot = false;
    std::uint32_t interval = 0;
    std::uint64_t due = 0;
    std::uint64_t order = 0;  // start order, breaks ties between timers due at the same moment
};

namespace {

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2));
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) {
        --q;
    }
    return q;
}

class FakeTimer : public Timer {
  public:
    FakeTimer(std::shared_ptr<FakeClock::TimerState> state,
              std::shared_ptr<FakeClock::Counters> counters)
        : state_(std::move(state)), counters_(std::move(counters)) {}

    void Start(std::uint32_t intervalMs) override { Arm(intervalMs, false); }
    void StartSingleShot(std::uint32_t delayMs) override { Arm(delayMs, true); }
    void Stop() override { state_->active = false; }
    bool IsActive() const override { return state_->active; }
    std::uint32_t Interval() const override { return state_->interval; }

  private:
    void Arm(std::uint32_t ms, bool singleShot) {
        state_->active = true;
        state_->singleShot = singleShot;
        state_->interval = ms;
        state_->due = counters_->elapsed + ms;
        state_->order = counters_->sequence++;
    }

    std::shared_ptr<FakeClock::TimerState> state_;
    std::shared_ptr<FakeClock::Counters> counters_;
};

}  // namespace

LocalTime AddMilliseconds(const LocalTime& time, std::int64_t ms) {
    const std::int64_t days = DaysFromCivil(time.year, static_cast<unsigned>(time.month),
                                            static_cast<unsigned>(time.day));
    std::int64_t total = days * 86400000 +
                         ((time.hour * 60 + time.minute) * 60 + time.second) * 1000LL +
                         time.millisecond + ms;
    const std::int64_t newDays = FloorDiv(total, 86400000);
    std::int64_t rest = total - newDays * 86400000;
    LocalTime result;
    CivilFromDays(newDays, result.year, result.month, result.day);
    result.millisecond = static_cast<int>(rest % 1000);
    rest /= 1000;
    result.second = static_cast<int>(rest % 60);
    rest /= 60;
    result.minute = static_cast<int>(rest % 60);
    result.hour = static_cast<int>(rest / 60);
    // 1970-01-01 was a Thursday.
    result.weekday = static_cast<int>(((newDays % 7) + 7 + 4) % 7);
    return result;
}

FakeClock::FakeClock() : counters_(std::make_shared<Counters>()) {
    SetNow(LocalTime{2001, 1, 1, 0, 0, 0, 0, 1});
}

FakeClock::~FakeClock() = default;

void FakeClock::SetNow(LocalTime now) {
    now_ = AddMilliseconds(now, 0);
}

std::unique_ptr<Timer> FakeClock::CreateTimer(std::function<void()> onTimeout) {
    auto state = std::make_shared<TimerState>();
    state->onTimeout = std::move(onTimeout);
    // Drop the bookkeeping of timers that no longer exist.
    std::erase_if(timers_, [](const std::weak_ptr<TimerState>& t) { return t.expired(); });
    timers_.push_back(state);
    return std::make_unique<FakeTimer>(state, counters_);
}

int FakeClock::ActiveTimers() const {
    return static_cast<int>(std::count_if(timers_.begin(), timers_.end(), [](const auto& t) {
        auto s = t.lock();
        return s && s->active;
    }));
}

void FakeClock::MoveTo(std::uint64_t elapsed) {
    const std::uint64_t step = elapsed - counters_->elapsed;
    tick_ = static_cast<std::uint32_t>(tick_ + step);
    now_ = AddMilliseconds(now_, static_cast<std::int64_t>(step));
    counters_->elapsed = elapsed;
}

void FakeClock::Advance(std::uint32_t ms) {
    const std::uint64_t target = counters_->elapsed + ms;
    for (;;) {
        std::shared_ptr<TimerState> next;
        for (const auto& weak : timers_) {
            auto state = weak.lock();
            if (!state || !state->active || state->due > target) {
                continue;
            }
            if (!next || state->due < next->due ||
                (state->due == next->due && state->order < next->order)) {
                next = state;
            }
        }
        if (!next) {
            break;
        }
        MoveTo(std::max(next->due, counters_->elapsed));
        if (next->singleShot) {
            next->active = false;
        } else {
            // A zero interval fires on every pass of the loop; one millisecond keeps it finite.
            next->due = counters_->elapsed + std::max<std::uint32_t>(next->interval, 1);
            next->order = counters_->sequence++;
        }
        // The callback may delete its timer; `next` keeps the state alive until it returns.
        auto callback = next->onTimeout;
        if (callback) {
            callback();
        }
    }
    MoveTo(target);
}

}  // namespace kestrelon
