#include "platform/qt/QtMain.h"

#include <QApplication>
#include <QSessionManager>

#include "core/AppCore.h"
#include "core/ProgramDirectory.h"
#include "core/RegistryIO.h"
#include "core/Startup.h"
#include "dialer/DialSessionController.h"
#include "dialer/RasFunc.h"
#include "dialer/RasServiceDirectory.h"
#include "dialer/SimulatedRas.h"
#include "platform/posix/PosixProcessLauncher.h"
#include "platform/posix/SystemClock.h"
#include "platform/qt/QtApplicationHost.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtMessageService.h"
#include "platform/qt/QtPowerOff.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtSoundPlayer.h"
#include "platform/qt/QtTimerFactory.h"
#include "platform/qt/QtTrayService.h"
#include "platform/qt/UnixSignalWatcher.h"

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

    QtApplicationHost host(app);
    host.SetDialer(dialer);
    Application program(app, host);
    program.SetDialer(ras, dialer);

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
    UnixSignalWatcher signalWatcher([&](int) { endWithoutQuestions(); });
    QObject::connect(&application, &QGuiApplication::commitDataRequest,
                     [&](QSessionManager&) { endWithoutQuestions(); });

    if (program.Main() == Application::StartResult::AnotherInstanceRuns) {
        return 0;
    }
    return QApplication::exec();
}

}  // namespace kestrelon
