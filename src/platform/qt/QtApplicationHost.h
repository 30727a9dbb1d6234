#pragma once

#include <QPointer>
#include <functional>
#include <memory>

#include "core/Startup.h"

namespace kestrelon {

class AppCore;
class DialSessionController;
class frmMain;
class frmSplash;

// The window side of start-up and shut-down: the language chooser, the splash and the main
// window.
class QtApplicationHost : public ApplicationHost {
  public:
    explicit QtApplicationHost(AppCore& app);
    ~QtApplicationHost() override;

    int ChooseLanguage(const std::vector<std::string>& entries) override;
    void ShowSplash() override;
    void LoadMainWindow() override;
    void RunMainTimer() override;
    void ShowMainWindow() override;
    Position MainWindowPosition() const override;
    int SelectedProfileIndex() const override;
    void CloseNetworkControls() override;
    void RemoveTrayIcons() override;

    // The dialing engine the main window drives and whose heartbeat starts with it.
    void SetDialer(DialSessionController& dialer) { dialer_ = &dialer; }
    frmMain* MainWindow() const { return main_.get(); }
    // What the main window's Exit does.
    std::function<void()> onExit;
    // Runs when the main window exists, before its load: the place to attach the windows of
    // other parts (frmMain::onShowOptions and the like) and the error texts.
    std::function<void(frmMain&)> onMainWindowCreated;
    // Shut-down: closes the mail check's and the keep-alive's connections.
    std::function<void()> onCloseNetworkControls;

  private:
    AppCore& app_;
    DialSessionController* dialer_ = nullptr;
    std::unique_ptr<frmMain> main_;
    QPointer<frmSplash> splash_;
};

}  // namespace kestrelon
