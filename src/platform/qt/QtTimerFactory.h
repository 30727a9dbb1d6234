#pragma once

#include "platform/Timer.h"

namespace kestrelon {

// Timers on the Qt event loop of the user-interface thread.
class QtTimerFactory : public TimerFactory {
  public:
    std::unique_ptr<Timer> CreateTimer(std::function<void()> onTimeout) override;
};

}  // namespace kestrelon
