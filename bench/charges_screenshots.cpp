// Saves pictures of the charge profile editor and of the charges graph (both kinds, all three
// periods) on generated data.
//
//   KESTRELON_HOME=<empty temp dir> charges_screenshots <output directory>

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPixmap>
#include <cstdio>
#include <random>

#include "charges/ChargeProfileStore.h"
#include "charges/ChargeState.h"
#include "charges/DateValue.h"
#include "charges/Statistics.h"
#include "charges/frmChargeGraph.h"
#include "charges/frmChargeProf.h"
#include "core/AppCore.h"
#include "core/ProgramDirectory.h"
#include "core/RegistryIO.h"
#include "platform/posix/PosixProcessLauncher.h"
#include "platform/posix/SystemClock.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtMessageService.h"
#include "platform/qt/QtPowerOff.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtSoundPlayer.h"
#include "platform/qt/QtTimerFactory.h"
#include "platform/qt/QtTrayService.h"

using namespace kestrelon;

namespace {

void Save(QWidget& window, const QString& path) {
    window.show();
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
    }
    window.grab().save(path);
    std::printf("%s\n", path.toUtf8().constData());
}

ChargeProfile Evening() {
    ChargeProfile p;
    p.Name = "Evening Tariff";
    p.StartRate = Currency{1200};
    p.BaseRate = Currency{24000};
    p.Window(++p.nItems) = {0b0111110, MakeDateValue(1899, 12, 30, 8),
                            MakeDateValue(1899, 12, 30, 18), Currency{72000}};
    p.Window(++p.nItems) = {127, MakeDateValue(1899, 12, 30, 22), MakeDateValue(1899, 12, 30, 6),
                            Currency{9000}};
    p.Window(++p.nItems) = {0b1000001, 0, 0, Currency{12000}};
    return p;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QString out = argc > 1 ? argv[1] : ".";
    SetProgramDirectory(ResolveProgramDirectory());

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
    Platform platform{clock,     timers, sound,      tray,     shell,
                      processes, power,  mailClient, messages, loop};
    AppCore app(platform);
    messages.SetApp(&app);

    SaveChargeProfile(Evening());
    AddChargeName("Evening Tariff");
    ChargeProfile flat;
    flat.Name = "Flat";
    flat.StartRate = Currency{500};
    flat.BaseRate = Currency{18000};
    SaveChargeProfile(flat);
    AddChargeName("Flat");

    // Two years of connections before now on three profiles.
    const double now = DateValueFromLocalTime(clock.Now());
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> gap(0.05, 0.6);
    std::uniform_int_distribution<int> length(120, 3 * 3600);
    std::uniform_int_distribution<int> pick(0, 2);
    const char* cons[] = {"Office ISDN", "Home Modem", "Travel"};
    for (double t = now - 730; t < now - 0.01;) {
        const int who = pick(rng);
        const double end = std::min(t + length(rng) / 86400.0, now - 0.005);
        WriteStatisticsRecord(cons[who], who == 2 ? "Flat" : "Evening Tariff", t, end, messages);
        t = end + gap(rng);
    }

    ChargeState charges;
    charges.EditedChargeProfile = charges.cache.GetChargeProfile("Evening Tariff", {}, true);
    {
        frmChargeProf editor(app, charges.EditedChargeProfile);
        editor.Fill();
        editor.lstRates->setCurrentRow(0);
        Save(editor, out + "/charge-profile-editor.png");
    }
    {
        frmChargeGraph graph(app, charges, {});
        graph.resize(760, 560);
        const char* kinds[] = {"charges", "online-time"};
        const char* periods[] = {"day", "month", "year"};
        for (int kind = 0; kind < 2; ++kind) {
            graph.cmbGraphSel->setCurrentIndex(kind);
            for (int period = 0; period < 3; ++period) {
                graph.cmbStatProf->setCurrentIndex(period);
                Save(graph,
                     out + QString("/charges-graph-%1-%2.png").arg(kinds[kind], periods[period]));
            }
        }
        graph.cmbStatProf->setCurrentIndex(0);
        graph.cmbGraphSel->setCurrentIndex(0);
        graph.done(0);
    }
    return 0;
}
