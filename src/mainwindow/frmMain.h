#pragma once

#include <QMainWindow>
#include <functional>

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;

namespace kestrelon {

class AppCore;

// The program's main window: the profile list, Dial and Disconnect, the status heading and the
// menus. It owns the notification-area icon; closing it by its close box only hides it.
class frmMain : public QMainWindow {
    Q_OBJECT
  public:
    static constexpr int kTrayIconId = 1;

    explicit frmMain(AppCore& app, QWidget* parent = nullptr);
    ~frmMain() override;

    // The window load: position, tray icon, captions.
    void LoadWindow();
    // Left and top in twips, as stored in "Windowx" and "Windowy".
    double LeftTwips() const;
    double TopTwips() const;
    // Brings the window back from the tray or the task bar.
    void ShowFromTray();
    void RemoveTrayIcon();

    // The interactive exit (File, Exit): runs the program's shut-down sequence.
    std::function<void()> onExit;

    QListWidget* lstConProf = nullptr;
    QLabel* lblConProf = nullptr;
    QPushButton* cmdDial = nullptr;
    QPushButton* cmdDisc = nullptr;
    QLabel* lblStatus = nullptr;
    QMenu* mnuMFile = nullptr;
    QAction* mnuExit = nullptr;
    QMenu* mnuMHelp = nullptr;
    QAction* mnuReadme = nullptr;
    QAction* mnuAbout = nullptr;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildControls();
    void BuildMenus();
    void TranslateForm();

    AppCore& app_;
    bool trayIconAdded_ = false;
};

}  // namespace kestrelon
