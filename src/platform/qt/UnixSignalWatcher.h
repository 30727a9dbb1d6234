#pragma once

#include <QObject>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace kestrelon {

// Turns SIGTERM and SIGINT into a call on the event loop, so that the program shuts down in
// order when a script, the system or Ctrl+C ends it. The signal handler only writes a byte to a
// pipe; the rest runs as a normal event.
class UnixSignalWatcher : public QObject {
    Q_OBJECT
  public:
    explicit UnixSignalWatcher(std::function<void(int signal)> onSignal, QObject* parent = nullptr);
    ~UnixSignalWatcher() override;

  private:
    void ReadSignal();

    std::function<void(int)> onSignal_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace kestrelon
