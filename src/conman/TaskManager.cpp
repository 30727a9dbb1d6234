#include "conman/TaskManager.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/AtomicFile.h"
#include "core/INIio.h"
#include "core/IniDocument.h"
#include "core/Language.h"
#include "platform/Clock.h"

namespace kestrelon {

namespace {

constexpr std::string_view kSection = "tasks";

struct ActionName {
    const char* key;
    const char* english;
};
constexpr std::array<ActionName, kTaskActionCount> kActionNames{{
    {"tskdisconnect", "Disconnect"},
    {"tskselconnection", "Select Connection"},
    {"tskdialconnection", "Dial"},
    {"tskdisableconman", "Disable ConMan"},
    {"tskquit", "Quit"},
    {"tskshutdown", "Shutdown Computer"},
}};

// A stored number as an int; values beyond the int range end at its ends.
int ToInt(double value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    return static_cast<int>(std::clamp(value, -2147483648.0, 2147483647.0));
}

std::string Key(int n, std::string_view field) {
    return std::to_string(n) + std::string(field);
}

}  // namespace

std::array<std::string, kTaskActionCount> TaskActionNames(TextLookup& lang) {
    std::array<std::string, kTaskActionCount> names;
    for (std::size_t i = 0; i < names.size(); ++i) {
        names[i] = lang.LangText(kActionNames[i].key, kActionNames[i].english);
    }
    return names;
}

std::string TaskActionName(const TaskTable& table, int action) {
    if (action < 0 || action >= kTaskActionCount) {
        return {};
    }
    return table.actionNames[static_cast<std::size_t>(action)];
}

int TaskCount(const TaskTable& table) {
    return std::clamp(table.nTasks, 0, TaskTable::kMaxTasks);
}

void LoadTasks(TaskTable& table, TextLookup& lang, std::string_view file) {
    table.actionNames = TaskActionNames(lang);
    // One read of the file for all keys.
    const auto content = ReadWholeFile(IniPath(file));
    const IniDocument ini = content ? IniDocument::Parse(*content) : IniDocument{};
    const auto number = [&](const std::string& key) {
        const auto value = ini.Get(kSection, key);
        return value ? LeadingNumber(*value) : 0.0;
    };
    // The count is rounded to the nearest whole number; a file holding more tasks than the
    // table has room for is read up to the table's end.
    const double count = std::nearbyint(number("nTasks"));
    table.nTasks = std::clamp(ToInt(count), 0, TaskTable::kMaxTasks);
    for (int i = 1; i <= table.nTasks; ++i) {
        ScheduledTask& task = table.Task(i);
        task.hour = ToInt(number(Key(i, "hour")));
        task.minute = ToInt(number(Key(i, "minute")));
        task.action = ToInt(number(Key(i, "action")));
        task.connection = ToInt(number(Key(i, "connection")));
    }
}

void MergeLastTask(TaskTable& table) {
    const int count = TaskCount(table);
    if (count < 2) {
        return;
    }
    const ScheduledTask last = table.Task(count);
    for (int i = 1; i < count; ++i) {
        ScheduledTask& task = table.Task(i);
        if (task.hour == last.hour && task.minute == last.minute && task.action == last.action) {
            task = last;
            table.nTasks = count - 1;
            return;
        }
    }
}

bool TaskBefore(const ScheduledTask& a, const ScheduledTask& b) {
    if (a.hour != b.hour) {
        return a.hour < b.hour;
    }
    if (a.minute != b.minute) {
        return a.minute < b.minute;
    }
    return a.action < b.action;
}

void SortTasks(TaskTable& table) {
    // The exchange sort is not stable; it is kept so that tasks equal in time and action
    // (made by editing one onto another) end in the order they always had.
    const int count = TaskCount(table);
    for (int i = 1; i <= count; ++i) {
        for (int j = i + 1; j <= count; ++j) {
            if (TaskBefore(table.Task(j), table.Task(i))) {
                std::swap(table.Task(i), table.Task(j));
            }
        }
    }
}

void SaveTasks(TaskTable& table, std::string_view file) {
    MergeLastTask(table);
    SortTasks(table);
    table.nTasks = TaskCount(table);
    IniBatch ini(file);
    ini.Write(kSection, "nTasks", table.nTasks);
    for (int i = 1; i <= table.nTasks; ++i) {
        const ScheduledTask& task = table.Task(i);
        ini.Write(kSection, Key(i, "hour"), task.hour);
        ini.Write(kSection, Key(i, "minute"), task.minute);
        ini.Write(kSection, Key(i, "action"), task.action);
        ini.Write(kSection, Key(i, "connection"), task.connection);
    }
    ini.Commit();
}

void DeleteTask(TaskTable& table, int n) {
    const int count = TaskCount(table);
    if (n < 1 || n > count) {
        return;
    }
    for (int i = n; i < count; ++i) {
        table.Task(i) = table.Task(i + 1);
    }
    table.nTasks = count - 1;
}

int ScheduledConnection(const TaskTable& table, int hour, int minute) {
    const int count = TaskCount(table);
    int p = count;
    for (int i = 1; i <= count; ++i) {
        const ScheduledTask& task = table.Task(i);
        if (task.hour > hour || (task.hour >= hour && task.minute > minute)) {
            p = i - 1;
            break;
        }
    }
    for (int i = p; i >= 1; --i) {
        if (table.Task(i).action == kTaskSelectConnection) {
            return table.Task(i).connection;
        }
    }
    // Nothing yet today: the last selection of yesterday still holds.
    for (int i = count; i > p; --i) {
        if (table.Task(i).action == kTaskSelectConnection) {
            return table.Task(i).connection;
        }
    }
    return 0;
}

int ScheduledConnection(const TaskTable& table, const Clock& clock) {
    const LocalTime now = clock.Now();
    return ScheduledConnection(table, now.hour, now.minute);
}

}  // namespace kestrelon
