#pragma once

#include <array>

namespace kestrelon {

// Action codes of a scheduled task.
enum TaskAction {
    kTaskSelectConnection = 1,
};

// One task of the Connection Manager: at hour:minute do the action, with a connection number
// for the actions that need one.
struct ScheduledTask {
    int hour = 0;
    int minute = 0;
    int action = 0;
    int connection = 0;  // profile number, 1-based

    bool operator==(const ScheduledTask&) const = default;
};

// The task table: tasks 1..nTasks.
struct TaskTable {
    static constexpr int kMaxTasks = 100;

    std::array<ScheduledTask, kMaxTasks + 1> tasks{};
    int nTasks = 0;
};

}  // namespace kestrelon
