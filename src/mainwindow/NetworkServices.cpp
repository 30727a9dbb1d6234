#include "mainwindow/NetworkServices.h"

#include "core/AppCore.h"
#include "dialer/DialSessionController.h"

namespace kestrelon {

NetworkServices::NetworkServices(AppCore& app, DialSessionController& dialer,
                                 TcpSocketFactory& sockets, TrayService& mailTray)
    : dialer_(dialer),
      launcher_(app.settings, app.profiles, app.platform.processes),
      keepAlive_(app, sockets),
      mail_(app, sockets, mailTray, [&dialer] { return dialer.Session().ConnLine > 0; }) {
    DialSessionHooks& hooks = dialer_.Hooks();
    hooks.startPrograms = [this](int profile) { launcher_.LaunchPrograms(profile); };
    hooks.closePrograms = [this] { launcher_.CloseLaunchedPrograms(); };
    hooks.sendKeepAlive = [this] { keepAlive_.Send(); };
    hooks.triggerMailCheck = [this] { mail_.CheckNow(); };
    mail_.Start();
}

NetworkServices::~NetworkServices() {
    DialSessionHooks& hooks = dialer_.Hooks();
    hooks.startPrograms = nullptr;
    hooks.closePrograms = nullptr;
    hooks.sendKeepAlive = nullptr;
    hooks.triggerMailCheck = nullptr;
}

void NetworkServices::CloseNetworkControls() {
    mail_.Close();
    keepAlive_.Close();
}

}  // namespace kestrelon
