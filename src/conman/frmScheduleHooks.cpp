#include "conman/frmScheduleHooks.h"

#include <QListWidget>

#include "conman/TaskManager.h"
#include "conman/TaskScheduler.h"
#include "conman/frmSchedule.h"
#include "core/AppCore.h"
#include "mainwindow/frmMain.h"

namespace kestrelon {

void AttachConManWindow(AppCore& app, TaskScheduler& scheduler, frmMain& window) {
    window.onShowConMan = [&app, &window] { ShowConnectionManager(app, &window); };
    window.scheduledConnection = [&app] {
        return ScheduledConnection(app.tasks, app.platform.clock);
    };
    // The scheduler has checked the number against the profile table.
    scheduler.Actions().selectConnection = [&window](int profile) {
        window.lstConProf->setCurrentRow(profile - 1);
    };
}

}  // namespace kestrelon
