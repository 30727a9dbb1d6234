#include "platform/qt/QtTimerFactory.h"

#include <QTimer>

namespace kestrelon {

namespace {

class QtTimer : public Timer {
  public:
    explicit QtTimer(std::function<void()> onTimeout) {
        // Precise timers: the dial and tray timers count seconds from their firings.
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [callback = std::move(onTimeout)] {
            if (callback) {
                callback();
            }
        });
    }
    void Start(std::uint32_t intervalMs) override {
        timer_.setSingleShot(false);
        timer_.start(static_cast<int>(intervalMs));
    }
    void StartSingleShot(std::uint32_t delayMs) override {
        timer_.setSingleShot(true);
        timer_.start(static_cast<int>(delayMs));
    }
    void Stop() override { timer_.stop(); }
    bool IsActive() const override { return timer_.isActive(); }
    std::uint32_t Interval() const override {
        return static_cast<std::uint32_t>(timer_.interval());
    }

  private:
    QTimer timer_;
};

}  // namespace

std::unique_ptr<Timer> QtTimerFactory::CreateTimer(std::function<void()> onTimeout) {
    return std::make_unique<QtTimer>(std::move(onTimeout));
}

}  // namespace kestrelon
