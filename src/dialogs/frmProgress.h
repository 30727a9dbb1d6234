#pragma once

#include <QWidget>

class QProgressBar;
class QTimer;

namespace kestrelon {

class AppCore;

// Shown during long charge computations. The computation only sets a number; the window's
// timer puts it on screen, so the computation never waits for painting.
class frmProgress : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kRefreshMilliseconds = 250;

    explicit frmProgress(AppCore& app, QWidget* parent = nullptr);

    // Percent done, 0 to 100.
    void SetProgress(int value) { progress_ = value; }
    int Progress() const { return progress_; }

    QProgressBar* pbProgress = nullptr;
    QTimer* tmrWorking = nullptr;

  private:
    int progress_ = 0;
};

}  // namespace kestrelon
