#include "platform/qt/QtMain.h"

#include <QApplication>
#include <QListWidget>
#include <QSessionManager>

#include "charges/ChargeProfileStore.h"
#include "charges/ChargeState.h"
#include "charges/ChargesHooks.h"
#include "charges/frmChargeGraph.h"
#include "charges/frmChargeProf.h"
#include "conman/ConManHooks.h"
#include "conman/TaskManager.h"
#include "conman/TaskScheduler.h"
#include "conman/frmSchedule.h"
#include "core/AppCore.h"
#include "core/ProgramDirectory.h"
#include "core/RegistryIO.h"
#include "core/Startup.h"
#include "dialer/DialSessionController.h"
#include "dialer/RasFunc.h"
#include "dialer/RasServiceDirectory.h"
#include "dialer/SimulatedRas.h"
#include "dialogs/frmCallback.h"
#include "dialogs/frmOptions.h"
#include "mainwindow/NetworkServices.h"
#include "mainwindow/frmMain.h"
#include "platform/posix/PosixProcessLauncher.h"
#include "platform/posix/SystemClock.h"
#include "platform/qt/QtApplicationHost.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtMessageService.h"
#include "platform/qt/QtPowerOff.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtSoundPlayer.h"
#include "platform/qt/QtTcpSocket.h"
#include "platform/qt/QtTimerFactory.h"
#include "platform/qt/QtTrayService.h"
#include "platform/qt/UnixSignalWatcher.h"
#include "profiles/ProgramProfileReferences.h"
#include "profiles/frmConProf.h"

namespace kestrelon {

namespace {

// The real platform services of one run.
struct RealPlatform {
    SystemClock clock;
    QtTimerFactory timers;
    QtSoundPlayer sound;
    QtTrayService tray;
    QtShell shell;
    PosixProcessLauncher processes;
    LogindPowerOff power;
    DesktopMailClientLocator mailClient;
    QtMessageService messages;
    QtEventLoop loop;

    Platform Services() {
        return Platform{clock,     timers, sound,      tray,     shell,
                        processes, power,  mailClient, messages, loop};
    }
};

}  // namespace

int RunKestrelon(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Kestrelon 2000");
    QApplication::setQuitOnLastWindowClosed(false);

    SetProgramDirectory(ResolveProgramDirectory());

    RealPlatform real;
    Platform platform = real.Services();
    AppCore app(platform);
    real.messages.SetApp(&app);

    // The embedded default dialer: the simulated remote access service.
    SimulatedRas rasService(RasServiceDirectory(), real.clock, real.timers);
    RasFunc ras(rasService, app.lang);
    DialSessionController dialer(app, ras, app.profiles, app.SelProfile);

    // The parts around the dial session: tariffs and statistics, the Connection Manager, the
    // programs of a connection, the keep-alive and the mail check.
    ChargeState charges;
    AttachCharges(app, dialer, charges);
    TaskScheduler scheduler(app);
    AttachConMan(scheduler, dialer);
    frmCallback callback(app);
    QtTcpSocketFactory sockets;
    NetworkServices network(app, dialer, sockets, callback.MailTray());

    QtApplicationHost host(app);
    host.SetDialer(dialer);
    Application program(app, host);
    program.SetDialer(ras, dialer);
    PartSteps steps;
    steps.loadTasks = [&] { LoadTasks(app.tasks, app.lang); };
    steps.importChargeProfiles = [&] { ImportAndListChargeProfiles(charges); };
    steps.recordRunningConnection = [&] {
        RecordCurrentConnection(app, dialer.Session(), charges);
    };
    program.SetPartSteps(std::move(steps));
    host.onCloseNetworkControls = [&] { network.CloseNetworkControls(); };

    ConProfServices profileServices;
    profileServices.entryMenu = &callback;
    profileServices.charges.names = [] { return LoadChargeNames(); };
    profileServices.charges.add = [](const std::string& name) { return AddChargeName(name); };
    profileServices.charges.edit = [&](const std::string& name, QWidget* parent) {
        return EditChargeProfile(app, charges, name, parent);
    };
    profileServices.charges.remove = [](int position) {
        DeleteChargeName(position);
        return true;
    };
    host.onMainWindowCreated = [&](frmMain& window) {
        window.rasErrorText = [&](std::uint32_t code) { return ras.RasErrorText(code); };
        window.scheduledConnection = [&] {
            return ScheduledConnection(app.tasks, app.platform.clock);
        };
        window.onShowOptions = [&] { ShowOptions(app, &window); };
        window.onShowConMan = [&] { ShowConnectionManager(app, &window); };
        window.onShowChargeGraph = [&] { ShowChargeGraph(app, charges, dialer, &window); };
        const auto editProfile = [&](int profile) {
            ProfileReferences refs = ProfileReferencesOf(app, &dialer);
            if (EditConnectionProfile(app, ras, profile, refs, profileServices, &window)) {
                window.UpdateConProfs();
            }
        };
        window.onAddProfile = [editProfile] { editProfile(0); };
        window.onEditProfile = [&app, editProfile] { editProfile(app.SelProfile); };
        scheduler.Actions().selectConnection = [&window](int profile) {
            window.lstConProf->setCurrentRow(profile - 1);
            window.ConProfClicked();
        };
    };

    // A signal or the end of the session runs the shut-down sequence once, without asking
    // anything, and then the process ends, also as the alternate executable.
    bool ending = false;
    const auto endWithoutQuestions = [&] {
        if (ending) {
            return;
        }
        ending = true;
        program.Shutdown(true, [] { QCoreApplication::exit(0); });
    };
    host.onExit = [&] {
        if (ending) {
            return;
        }
        program.Shutdown(true);
        ending = !program.IsAlternateExecutable();
    };
    scheduler.Actions().quit = [&] { host.onExit(); };
    UnixSignalWatcher signalWatcher([&](int) { endWithoutQuestions(); });
    QObject::connect(&application, &QGuiApplication::commitDataRequest,
                     [&](QSessionManager&) { endWithoutQuestions(); });

    if (program.Main() == Application::StartResult::AnotherInstanceRuns) {
        return 0;
    }
    return QApplication::exec();
}

}  // namespace kestrelon
