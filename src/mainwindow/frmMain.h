#pragma once

#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/Currency.h"
#include "mainwindow/Sounds.h"
#include "mainwindow/StatusPanel.h"
#include "mainwindow/TrayIcon.h"
#include "mainwindow/TrayIconChoice.h"
#include "platform/TrayService.h"

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QTimer;

namespace kestrelon {

class AppCore;
class DialSessionController;
class frmLogView;
struct ProfileReferences;

// The program's main window: the profile list, Dial and Disconnect, the status panel, the
// menus and the hidden tray menu. It owns the notification-area icon; closing it by its close
// box only hides it.
class frmMain : public QMainWindow {
    Q_OBJECT
  public:
    static constexpr int kTrayIconId = 1;
    // The status panel in pixels: the design's 1935 x 1230 twips at one and a half times.
    static constexpr int kPanelWidth = 194;
    static constexpr int kPanelHeight = 123;

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
    // Enables the commands whose windows are attached and that the selection allows.
    void RefreshCommands();

    // Draws the status panel into its buffer, shows it and keeps the tray tooltip current.
    void PaintStatus();
    void ShowStatus() { PaintStatus(); }
    // The tray picture for the state now: static, blinking or the counter.
    void UpdateTray();
    // Pops up the tray menu, rebuilt for the profiles and the state now.
    void ShowTrayMenu();
    // The icon's mouse messages; a right click opens the menu only when no other dialog is
    // in the way.
    void TrayMouseEvent(TrayMouse what);
    bool TrayMenuAllowed() const;
    // True while a modal dialog opened from here runs; OptionsOpen while it is the Options
    // dialog.
    bool ModalDialogOpen() const { return modalDepth_ > 0; }
    bool OptionsOpen() const { return optionsOpen_; }

    // The Last error dialog, modal (View, Last Error; and after a dial error stops dialing).
    void ShowLastError();
    // The log viewer, modeless, with log choice 0, 1 or 2 selected.
    void ShowLog(int choice);
    frmLogView* LogViewer() const;

    // Left and top in twips, as stored in "Windowx" and "Windowy".
    double LeftTwips() const;
    double TopTwips() const;
    // Brings the window back from the tray or the task bar.
    void ShowFromTray();
    void RemoveTrayIcon();

    // The two static tray pictures, offline and online.
    static IconImage OfflineIcon();
    static IconImage OnlineIcon();

    const QImage& StatusBuffer() const { return pctStatus_; }
    const std::optional<StatusLayout>& LastStatusLayout() const { return layout_; }
    const TrayIconChoice& TrayChoice() const { return trayChoice_; }

    // The interactive exit (File, Exit): runs the program's shut-down sequence.
    std::function<void()> onExit;
    // Windows of other parts; their menu items stay disabled while these are empty.
    std::function<void()> onShowOptions;
    std::function<void()> onAddProfile;
    std::function<void()> onEditProfile;
    std::function<void()> onShowConMan;
    std::function<void()> onShowChargeGraph;
    // The text of a dial error number; without it the service's standard texts are used.
    std::function<std::string(std::uint32_t)> rasErrorText;
    // The connection of the most recent Select Connection task now (StartCon -1); 0 = none.
    std::function<int()> scheduledConnection;

    QListWidget* lstConProf = nullptr;
    QLabel* lblConProf = nullptr;
    QPushButton* cmdDial = nullptr;
    QPushButton* cmdDisc = nullptr;
    QLabel* lblStatus = nullptr;
    QLabel* pctStatDisp = nullptr;
    QTimer* tmrShowErr = nullptr;

    QMenu* mnuMFile = nullptr;
    QAction* mnuExit = nullptr;
    QMenu* mnuMEdit = nullptr;
    QAction* mnuAddProfile = nullptr;
    QAction* mnuDelProfile = nullptr;
    QAction* mnuCopyProfile = nullptr;
    QAction* mnuCopyIP = nullptr;
    QMenu* mnuView = nullptr;
    QAction* mnuProgLog = nullptr;
    QAction* mnuDialLog = nullptr;
    QAction* mnuErrorLog = nullptr;
    QAction* mnuViewErr = nullptr;
    QAction* mnuPhoneCharges = nullptr;
    QMenu* mnuMOptions = nullptr;
    QAction* mnuOptions = nullptr;
    QAction* mnuEditProfile = nullptr;
    QAction* mnuManager = nullptr;
    QAction* mnuDisDual = nullptr;
    QMenu* mnuMHelp = nullptr;
    QAction* mnuReadme = nullptr;
    QAction* mnuAbout = nullptr;

    // The tray menu and its items.
    QMenu* mnuTray = nullptr;
    QAction* mnuDial = nullptr;
    QMenu* mnuConnect = nullptr;
    std::vector<QAction*> mnuCons;  // entry i - 1 dials profile i
    QMenu* mnuMOptionsT = nullptr;
    QAction* mnuOptionsT = nullptr;
    QAction* mnuConManT = nullptr;
    QAction* mnuEditT = nullptr;
    QAction* mnuDisDualT = nullptr;
    QMenu* mnuViewT = nullptr;
    QAction* mnuProgLogT = nullptr;
    QAction* mnuDialLogT = nullptr;
    QAction* mnuErrLogT = nullptr;
    QAction* mnuLastErrorT = nullptr;
    QAction* mnuTelKostT = nullptr;
    QAction* mnuManagerT = nullptr;
    QAction* mnuCopyIPT = nullptr;
    QAction* mnuShow = nullptr;
    QAction* mnuExitT = nullptr;
    QAction* mnuDiscExitT = nullptr;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void BuildControls();
    void BuildMenus();
    void BuildTrayMenu();
    void TranslateForm();
    void SelectStartProfile();
    void DialSelected();
    void DisconnectClicked();
    void TrayDialClicked();
    void DeleteProfileClicked();
    void CopyProfileClicked();
    void CopyIpClicked();
    void DisDualClicked();
    void Exit();
    // Runs a modal dialog, counted so the tray menu stays shut meanwhile.
    void RunModal(const std::function<void()>& open, bool isOptions = false);
    int RunModalResult(const std::function<int()>& open);
    ProfileReferences References();
    StatusInputs CollectStatus() const;
    void DrawPanel(const StatusLayout& layout, bool rows);
    bool IsOnlineOrDialing() const;

    AppCore& app_;
    DialSessionController* dialer_ = nullptr;
    TrayIcon tray_;
    TrayIconChoice trayChoice_;
    bool trayIconAdded_ = false;
    bool firstResizeDone_ = false;
    int modalDepth_ = 0;
    bool optionsOpen_ = false;
    std::string lastTip_;
    QImage pctStatus_;
    std::optional<StatusLayout> layout_;
    QPointer<frmLogView> logView_;
};

}  // namespace kestrelon
