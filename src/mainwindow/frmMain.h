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
class DialSessionController;

// The program's main window: the profile list, Dial and Disconnect, the status heading and the
// menus. It owns the notification-area icon; closing it by its close box only hides it.
class frmMain : public QMainWindow {
    Q_OBJECT
  public:
    static constexpr int kTrayIconId = 1;

    explicit frmMain(AppCore& app, QWidget* parent = nullptr);
    ~frmMain() override;

    // The dialing engine the buttons and the list drive; set before LoadWindow.
    void AttachDialer(DialSessionController& dialer);
    // The window load: position, tray icon, profile list and start selection, captions.
    void LoadWindow();
    // Refills the profile list and selects SelProfile (the last profile when it lies beyond).
    void UpdateConProfs();
    // The list's click handling: SelProfile follows the list; Dial needs a selection.
    void ConProfClicked();
    // The status heading's text for the dial session as it is now.
    void ShowStatus();
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
    QLabel* lblStatusText = nullptr;
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
    void SelectStartProfile();
    void DialSelected();

    AppCore& app_;
    DialSessionController* dialer_ = nullptr;
    bool trayIconAdded_ = false;
};

}  // namespace kestrelon
