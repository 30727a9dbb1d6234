#include "platform/posix/PosixTimerLoop.h"

#include <algorithm>
#include <thread>
#include <utility>

namespace kestrelon {

namespace {

class LoopTimer : public Timer {
  public:
    LoopTimer(std::shared_ptr<PosixTimerLoop::TimerState> state,
              std::shared_ptr<std::uint64_t> sequence)
        : state_(std::move(state)), sequence_(std::move(sequence)) {}
    ~LoopTimer() override { state_->active = false; }
    LoopTimer(const LoopTimer&) = delete;
    LoopTimer& operator=(const LoopTimer&) = delete;

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
        state_->due = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        state_->order = (*sequence_)++;
    }

    std::shared_ptr<PosixTimerLoop::TimerState> state_;
    std::shared_ptr<std::uint64_t> sequence_;
};

}  // namespace

PosixTimerLoop::PosixTimerLoop() : sequence_(std::make_shared<std::uint64_t>(0)) {}

PosixTimerLoop::~PosixTimerLoop() = default;

std::unique_ptr<Timer> PosixTimerLoop::CreateTimer(std::function<void()> onTimeout) {
    auto state = std::make_shared<TimerState>();
    state->onTimeout = std::move(onTimeout);
    std::erase_if(timers_, [](const std::weak_ptr<TimerState>& t) { return t.expired(); });
    timers_.push_back(state);
    return std::make_unique<LoopTimer>(state, sequence_);
}

std::shared_ptr<PosixTimerLoop::TimerState> PosixTimerLoop::NextTimer() {
    std::shared_ptr<TimerState> next;
    for (const auto& weak : timers_) {
        auto state = weak.lock();
        if (!state || !state->active) {
            continue;
        }
        if (!next || state->due < next->due ||
            (state->due == next->due && state->order < next->order)) {
            next = std::move(state);
        }
    }
    return next;
}

void PosixTimerLoop::Fire(const std::shared_ptr<TimerState>& timer) {
    if (timer->singleShot) {
        timer->active = false;
    } else {
        // Next due from now, not from the missed moment, so a late tick does not cause a burst.
        timer->due = std::chrono::steady_clock::now() +
                     std::chrono::milliseconds(std::max<std::uint32_t>(timer->interval, 1));
        timer->order = (*sequence_)++;
    }
    // A copy: the callback may destroy its own timer.
    const auto callback = timer->onTimeout;
    if (callback) {
        callback();
    }
}

void PosixTimerLoop::ProcessEvents() {
    const TimePoint now = std::chrono::steady_clock::now();
    // Only timers due now; one that re-arms itself for now waits for the next call.
    std::vector<std::shared_ptr<TimerState>> due;
    for (const auto& weak : timers_) {
        if (auto state = weak.lock(); state && state->active && state->due <= now) {
            due.push_back(std::move(state));
        }
    }
    std::ranges::sort(due, [](const auto& a, const auto& b) {
        return a->due != b->due ? a->due < b->due : a->order < b->order;
    });
    for (const auto& timer : due) {
        if (timer->active && timer->due <= now) {
            Fire(timer);
        }
    }
}

int PosixTimerLoop::Run() {
    while (!exitCode_) {
        const std::shared_ptr<TimerState> next = NextTimer();
        if (!next) {
            return kNothingLeft;
        }
        std::this_thread::sleep_until(next->due);
        // Another callback may have stopped or moved it meanwhile; NextTimer decides anew.
        if (next->active && next->due <= std::chrono::steady_clock::now()) {
            Fire(next);
        }
    }
    const int code = *exitCode_;
    exitCode_.reset();
    return code;
}

void PosixTimerLoop::Quit(int exitCode) {
    exitCode_ = exitCode;
}

}  // namespace kestrelon
