#pragma once

namespace kestrelon {

class EventLoop {
  public:
    virtual ~EventLoop() = default;
    // Lets pending window events, timers and dial events run.
    virtual void ProcessEvents() = 0;
    // Ends the event loop, and so the process, with this exit code.
    virtual void Quit(int exitCode) = 0;
};

}  // namespace kestrelon
