#pragma once

#include <QWidget>

class QFrame;
class QLabel;
class QTimer;

namespace kestrelon {

class AppCore;

// The start-up window: the picture, the name and the version, for three seconds or until the
// picture is clicked. It never takes the focus, so the tray icon keeps reaching the main window.
class frmSplash : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kShowMilliseconds = 3000;

    explicit frmSplash(AppCore& app, QWidget* parent = nullptr);

    QFrame* Border = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lblVersion = nullptr;
    QTimer* Timer = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace kestrelon
