#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/EventLoop.h"
#include "platform/Timer.h"

namespace kestrelon {

// A minimal event loop for command-line tools: its timers fire on the thread that runs it,
// and between them it sleeps until the next one is due. Timers may be started, stopped and
// destroyed from inside their own callbacks.
class PosixTimerLoop : public TimerFactory, public EventLoop {
  public:
    PosixTimerLoop();
    ~PosixTimerLoop() override;
    PosixTimerLoop(const PosixTimerLoop&) = delete;
    PosixTimerLoop& operator=(const PosixTimerLoop&) = delete;

    std::unique_ptr<Timer> CreateTimer(std::function<void()> onTimeout) override;

    // Fires timers as they fall due until Quit is called and returns its exit code. When no
    // timer is left running and nobody quit, nothing can happen any more: it returns
    // kNothingLeft.
    int Run();
    static constexpr int kNothingLeft = -1;

    // Fires the timers that are due now, without waiting.
    void ProcessEvents() override;
    void Quit(int exitCode) override;

    using TimePoint = std::chrono::steady_clock::time_point;
    struct TimerState {
        std::function<void()> onTimeout;
        bool active = false;
        bool singleShot = false;
        std::uint32_t interval = 0;
        TimePoint due{};
        std::uint64_t order = 0;  // start order, breaks ties between timers due together
    };

  private:
    // The active timer that is due first, or none.
    std::shared_ptr<TimerState> NextTimer();
    void Fire(const std::shared_ptr<TimerState>& timer);

    std::vector<std::weak_ptr<TimerState>> timers_;
    std::shared_ptr<std::uint64_t> sequence_;
    std::optional<int> exitCode_;
};

}  // namespace kestrelon
