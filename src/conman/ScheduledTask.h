#pragma once

#include <array>
#include <string>

namespace kestrelon {

// Action codes of a scheduled task; the dialogs list the actions in this order, so a list
// position is the code.
enum TaskAction {
    kTaskDisconnect = 0,
    kTaskSelectConnection = 1,
    kTaskDial = 2,
    kTaskDisableConMan = 3,
    kTaskQuit = 4,
    kTaskShutdownComputer = 5,
};
inline constexpr int kTaskActionCount = 6;

// One task of the Connection Manager: at hour:minute do the action, with a connection number
// for the actions that need one.
struct ScheduledTask {
    int hour = 0;
    int minute = 0;
    int action = 0;
    int connection = 0;  // profile number, 1-based

    bool operator==(const ScheduledTask&) const = default;
};

// The task table: tasks 1..nTasks, ordered by hour, minute and action after every save.
struct TaskTable {
    static constexpr int kMaxTasks = 100;

    std::array<ScheduledTask, kMaxTasks + 1> tasks{};
    int nTasks = 0;

    // The translated names of the six actions, by code; filled when the tasks are loaded.
    std::array<std::string, kTaskActionCount> actionNames{};

    // The hour and minute the task properties dialog showed when it was last closed; a new
    // task starts there. Kept for the whole run.
    int rememberedHour = 0;
    int rememberedMinute = 0;

    ScheduledTask& Task(int n) { return tasks[static_cast<std::size_t>(n)]; }
    const ScheduledTask& Task(int n) const { return tasks[static_cast<std::size_t>(n)]; }
};

}  // namespace kestrelon
