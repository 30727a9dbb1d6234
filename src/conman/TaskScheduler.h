#pragma once

#include <functional>

#include "conman/ScheduledTask.h"

namespace kestrelon {

class AppCore;

// What the tasks do to the rest of the program. Each may stay empty; an empty
// selectConnection sets the selected profile number directly.
struct TaskActions {
    // Selects profile n in the main window's list, exactly as a click on it does.
    std::function<void(int profile)> selectConnection;
    // The Dial button: dials the selected profile.
    std::function<void()> dial;
    // The Disconnect button.
    std::function<void()> disconnect;
    // The program's full shut-down with the end of the process.
    std::function<void()> quit;
};

// Runs the tasks of the task table when their minute comes. The heartbeat calls RunDueTasks
// about once a second while the Connection Manager is on; every minute of the clock is looked
// at once, the minute the scheduler starts in is skipped, and a minute that passes without a
// call is not made up later. Only hour and minute count, so tasks run every day.
class TaskScheduler {
  public:
    explicit TaskScheduler(AppCore& app, TaskActions actions = {});

    void RunDueTasks();

    TaskActions& Actions() { return actions_; }

  private:
    // Returns false when the program is ending and no further task may run.
    bool RunTask(const ScheduledTask& task);
    void SelectConnection(int profile);
    void ShutdownComputer();

    AppCore& app_;
    TaskActions actions_;
    // The minute of the last look plus one; 0 until the first call.
    int lastTaskMinute_ = 0;
};

}  // namespace kestrelon
