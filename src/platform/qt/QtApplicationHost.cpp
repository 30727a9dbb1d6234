#include "platform/qt/QtApplicationHost.h"

#include <QListWidget>

#include "core/AppCore.h"
#include "dialer/DialSessionController.h"
#include "dialogs/frmMsgBox.h"
#include "dialogs/frmSplash.h"
#include "mainwindow/frmMain.h"

namespace kestrelon {

QtApplicationHost::QtApplicationHost(AppCore& app) : app_(app) {}

QtApplicationHost::~QtApplicationHost() {
    if (splash_) {
        delete splash_.data();
    }
}

int QtApplicationHost::ChooseLanguage(const std::vector<std::string>& entries) {
    return ChooseFromList(app_, "Select Language", "Kestrelon 2000", entries);
}

void QtApplicationHost::ShowSplash() {
    auto* splash = new frmSplash(app_);
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash_ = splash;
    splash->show();
}

void QtApplicationHost::LoadMainWindow() {
    main_ = std::make_unique<frmMain>(app_);
    main_->onExit = [this] {
        if (onExit) {
            onExit();
        }
    };
    if (dialer_ != nullptr) {
        main_->AttachDialer(*dialer_);
    }
    if (onMainWindowCreated) {
        onMainWindowCreated(*main_);
    }
    main_->LoadWindow();
}

void QtApplicationHost::RunMainTimer() {
    if (dialer_ != nullptr) {
        dialer_->TimerTick();
        dialer_->RefreshStatus();
        dialer_->StartTimer();
    }
}

void QtApplicationHost::ShowMainWindow() {
    if (main_) {
        main_->show();
    }
}

ApplicationHost::Position QtApplicationHost::MainWindowPosition() const {
    if (!main_) {
        return {};
    }
    return {main_->LeftTwips(), main_->TopTwips()};
}

int QtApplicationHost::SelectedProfileIndex() const {
    return main_ ? main_->lstConProf->currentRow() : -1;
}

void QtApplicationHost::CloseNetworkControls() {
    if (onCloseNetworkControls) {
        onCloseNetworkControls();
    }
}

void QtApplicationHost::RemoveTrayIcons() {
    if (main_) {
        main_->RemoveTrayIcon();
    }
}

}  // namespace kestrelon
