#pragma once

#include <array>
#include <string>
#include <string_view>

#include "conman/ScheduledTask.h"

namespace kestrelon {

class Clock;
class TextLookup;

// The Connection Manager's task list and its stored form, section "tasks" of the settings
// file: "nTasks", then "<n>hour", "<n>minute", "<n>action" and "<n>connection" per task. An
// empty file name means the program's settings file.

// The six action names in the user's language, by code.
std::array<std::string, kTaskActionCount> TaskActionNames(TextLookup& lang);
// The loaded name of an action code; "" for a code outside 0..5.
std::string TaskActionName(const TaskTable& table, int action);

// The tasks as stored, at most kMaxTasks of them; the values are taken as they are.
void LoadTasks(TaskTable& table, TextLookup& lang, std::string_view file = {});
// Merges the last task into an earlier one of the same time and action, sorts, and writes
// the list in one file write.
void SaveTasks(TaskTable& table, std::string_view file = {});

// A task with the same hour, minute and action as the last one takes over its connection
// and the last one goes: adding an existing time and action changes that task instead.
void MergeLastTask(TaskTable& table);
// Orders by hour, then minute, then action with an exchange sort; two tasks equal in all
// three are never exchanged with each other.
void SortTasks(TaskTable& table);
bool TaskBefore(const ScheduledTask& a, const ScheduledTask& b);
// Removes task n; the caller saves.
void DeleteTask(TaskTable& table, int n);

// The profile the schedule has selected at hour:minute: the last Select Connection task at
// or before that time, else the last one of the day before; 0 when there is none.
int ScheduledConnection(const TaskTable& table, int hour, int minute);
int ScheduledConnection(const TaskTable& table, const Clock& clock);

// nTasks held within 0..kMaxTasks, so a hand-edited count never reaches past the table.
int TaskCount(const TaskTable& table);

}  // namespace kestrelon
