#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace kestrelon {

// A timer on the user-interface thread. A repeating timer fires every interval until stopped;
// a single-shot timer fires once. Restarting a running timer starts its interval anew.
class Timer {
  public:
    virtual ~Timer() = default;
    virtual void Start(std::uint32_t intervalMs) = 0;
    virtual void StartSingleShot(std::uint32_t delayMs) = 0;
    virtual void Stop() = 0;
    virtual bool IsActive() const = 0;
    virtual std::uint32_t Interval() const = 0;
};

class TimerFactory {
  public:
    virtual ~TimerFactory() = default;
    virtual std::unique_ptr<Timer> CreateTimer(std::function<void()> onTimeout) = 0;
};

}  // namespace kestrelon
