#pragma once

#include "platform/EventLoop.h"

namespace kestrelon {

class QtEventLoop : public EventLoop {
  public:
    void ProcessEvents() override;
    void Quit(int exitCode) override;
};

}  // namespace kestrelon
