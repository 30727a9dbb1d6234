#pragma once

#include "mainwindow/KeepAlive.h"
#include "mainwindow/MailCheck.h"
#include "profiles/ProgramLauncher.h"

namespace kestrelon {

class AppCore;
class DialSessionController;
class TcpSocketFactory;
class TrayService;

// The programs started with a connection, the keep-alive request and the mail check, attached
// to the dial session controller in one step: it sets the controller's startPrograms,
// closePrograms, sendKeepAlive and triggerMailCheck hooks and starts tmrCheckMail. The hooks
// are taken off again when this ends, so it must not outlive the controller.
class NetworkServices {
  public:
    // mailTray is the notification-area service of the hidden callback window, which owns the
    // new-mail icon.
    NetworkServices(AppCore& app, DialSessionController& dialer, TcpSocketFactory& sockets,
                    TrayService& mailTray);
    ~NetworkServices();
    NetworkServices(const NetworkServices&) = delete;
    NetworkServices& operator=(const NetworkServices&) = delete;

    // Shut-down: closes both sockets.
    void CloseNetworkControls();

    ProgramLauncher& Launcher() { return launcher_; }
    KeepAlive& KeepAliveRequest() { return keepAlive_; }
    MailCheck& Mail() { return mail_; }

  private:
    DialSessionController& dialer_;
    ProgramLauncher launcher_;
    KeepAlive keepAlive_;
    MailCheck mail_;
};

}  // namespace kestrelon
