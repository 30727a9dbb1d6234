#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace kestrelon {

class AppCore;

// The About window with the version, the download address and the translator's credit.
class frmAbout : public QDialog {
    Q_OBJECT
  public:
    static constexpr const char* kDownloadAddress = "https://kestrelon.example/";

    explicit frmAbout(AppCore& app, QWidget* parent = nullptr);

    QLabel* Picture1 = nullptr;
    QLabel* lblAbout = nullptr;
    QLabel* lblDownload = nullptr;
    QLabel* lblURL = nullptr;
    QLabel* lblTrans = nullptr;
    QPushButton* cmdOk = nullptr;
};

// Shows the About window modal.
void ShowAbout(AppCore& app, QWidget* parent);

}  // namespace kestrelon
