#include "conman/TaskScheduler.h"

#include <utility>

#include "conman/TaskManager.h"
#include "core/AppCore.h"
#include "core/AppSettings.h"

namespace kestrelon {

TaskScheduler::TaskScheduler(AppCore& app, TaskActions actions)
    : app_(app), actions_(std::move(actions)) {}

void TaskScheduler::RunDueTasks() {
    const LocalTime now = app_.platform.clock.Now();
    const int h = now.hour;
    const int m = now.minute;
    if (lastTaskMinute_ == 0) {
        lastTaskMinute_ = m + 1;
    }
    if (!app_.settings.ConMan || lastTaskMinute_ - 1 == m) {
        return;
    }
    // Marked before the first task runs: a timer call nested in a task's event processing
    // finds this minute done.
    lastTaskMinute_ = m + 1;
    for (int i = 1; i <= TaskCount(app_.tasks); ++i) {
        app_.platform.loop.ProcessEvents();
        // The task dialogs stay usable meanwhile and may have shortened the list.
        if (i > TaskCount(app_.tasks)) {
            break;
        }
        const ScheduledTask task = app_.tasks.Task(i);
        if (task.hour != h || task.minute != m || task.action < 0 ||
            task.action >= kTaskActionCount) {
            continue;
        }
        if (!RunTask(task)) {
            break;
        }
    }
}

bool TaskScheduler::RunTask(const ScheduledTask& task) {
    switch (task.action) {
        case kTaskDisconnect:
            app_.WriteLog(app_.LangText("conmandisconnect", "ConMan: Disconnect"), kProgramLog);
            app_.PlaySoundEvent(kSoundBrokenByUser);
            if (actions_.disconnect) {
                actions_.disconnect();
            }
            return true;
        case kTaskSelectConnection:
            SelectConnection(task.connection);
            return true;
        case kTaskDial:
            app_.WriteLog(app_.LangText("conmandial", "ConMan: Start dialing"), kProgramLog);
            if (actions_.dial) {
                actions_.dial();
            }
            return true;
        case kTaskDisableConMan:
            app_.WriteLog(app_.LangText("conmandisable", "ConMan: Disable Conman"), kProgramLog);
            app_.settings.ConMan = false;
            SaveSettings(app_.settings);
            return true;
        case kTaskQuit:
            app_.WriteLog(app_.LangText("conmanquit", "ConMan: Quit"), kProgramLog);
            if (actions_.quit) {
                actions_.quit();
            }
            // The program is on its way out; later tasks of this minute must not dial anew.
            return false;
        case kTaskShutdownComputer:
            app_.WriteLog(app_.LangText("conmanshutdown", "ConMan: Shutdown computer"),
                          kProgramLog);
            ShutdownComputer();
            return true;
        default:
            return true;
    }
}

void TaskScheduler::SelectConnection(int profile) {
    const ConnectionProfile* selected = app_.profiles.Find(profile);
    if (selected == nullptr) {
        // A task whose profile was deleted; selecting it would pick a list entry that is
        // not there.
        app_.WriteLog(app_.LangText("conmanselconmissing",
                                    "ConMan: Select Connection skipped, there is no profile #",
                                    std::to_string(profile)),
                      kProgramLog);
        return;
    }
    app_.WriteLog(app_.LangText("conmanselcon", "ConMan: Connection # Selected", selected->Name),
                  kProgramLog);
    if (actions_.selectConnection) {
        actions_.selectConnection(profile);
    } else {
        app_.SelProfile = profile;
    }
}

void TaskScheduler::ShutdownComputer() {
    const PowerOffResult result = app_.platform.power.RequestPowerOff();
    switch (result.outcome) {
        case PowerOffResult::Outcome::Requested:
            break;
        case PowerOffResult::Outcome::Refused:
            app_.WriteLog(
                app_.LangText("conmanshutdownrefused",
                              "ConMan: The computer may not be shut down: #", result.detail),
                kProgramLog);
            break;
        case PowerOffResult::Outcome::Unavailable:
            app_.WriteLog(app_.LangText("conmanshutdownunavailable",
                                        "ConMan: Shutting the computer down is not available: #",
                                        result.detail),
                          kProgramLog);
            break;
    }
}

}  // namespace kestrelon
