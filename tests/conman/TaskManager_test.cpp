#include "conman/TaskManager.h"

#include <gtest/gtest.h>

#include "core/FileHelpers.h"
#include "core/INIio.h"
#include "core/Language.h"
#include "platform/FakeClock.h"
#include "platform/TempProgramDirectory.h"

namespace kestrelon {
namespace {

class TaskManagerTest : public ::testing::Test {
  protected:
    void Add(int hour, int minute, int action, int connection) {
        table_.nTasks += 1;
        table_.Task(table_.nTasks) = {hour, minute, action, connection};
    }
    std::string Ini(const std::string& key) { return IniReadString("tasks", key); }

    TempProgramDirectory dir_;
    TextLookup lang_;
    TaskTable table_;
};

TEST_F(TaskManagerTest, LoadReadsTheNumberedKeysUpToTheCount) {
    test::WriteFile(dir_.File("Kestrelon.Ini"),
                    "[Tasks]\nnTasks=2\n1hour=7\n1minute=30\n1action=1\n1connection=2\n"
                    "2HOUR=22\n2minute=5\n2action=9\n"
                    "3hour=12\n3minute=0\n3action=2\n3connection=0\n");
    LoadTasks(table_, lang_);
    ASSERT_EQ(table_.nTasks, 2);
    EXPECT_EQ(table_.Task(1), (ScheduledTask{7, 30, 1, 2}));
    // Nothing is checked: an unknown action is taken as it is, a missing key reads 0.
    EXPECT_EQ(table_.Task(2), (ScheduledTask{22, 5, 9, 0}));
    EXPECT_EQ(table_.actionNames[kTaskSelectConnection], "Select Connection");
    EXPECT_EQ(TaskActionName(table_, 5), "Shutdown Computer");
    EXPECT_EQ(TaskActionName(table_, 6), "");
}

TEST_F(TaskManagerTest, TheCountIsRoundedAndHeldWithinTheTable) {
    LoadTasks(table_, lang_);
    EXPECT_EQ(table_.nTasks, 0) << "no file, no tasks";

    test::WriteFile(dir_.File("Kestrelon.Ini"), "[tasks]\nnTasks=2.6\n3hour=4\n");
    LoadTasks(table_, lang_);
    EXPECT_EQ(table_.nTasks, 3);
    EXPECT_EQ(table_.Task(3).hour, 4);

    test::WriteFile(dir_.File("Kestrelon.Ini"), "[tasks]\nnTasks=250\n100hour=23\n101hour=1\n");
    LoadTasks(table_, lang_);
    EXPECT_EQ(table_.nTasks, TaskTable::kMaxTasks);
    EXPECT_EQ(table_.Task(100).hour, 23);

    test::WriteFile(dir_.File("Kestrelon.Ini"), "[tasks]\nnTasks=-4\n");
    LoadTasks(table_, lang_);
    EXPECT_EQ(table_.nTasks, 0);
}

TEST_F(TaskManagerTest, ActionNamesComeFromTheLanguageFile) {
    test::WriteFile(dir_.File("lngDeutsch.ini"), "[Default]\ntskdialconnection=Wählen\n");
    lang_.SetLanguageInUse("Deutsch");
    LoadTasks(table_, lang_);
    EXPECT_EQ(table_.actionNames[kTaskDial], "Wählen");
    EXPECT_EQ(table_.actionNames[kTaskQuit], "Quit");
}

TEST_F(TaskManagerTest, SaveSortsByHourMinuteAndActionAndWritesEveryKey) {
    Add(8, 0, kTaskDial, 1);
    Add(22, 0, kTaskDisconnect, 0);
    Add(8, 0, kTaskSelectConnection, 3);
    Add(7, 59, kTaskQuit, 0);
    SaveTasks(table_);
    ASSERT_EQ(table_.nTasks, 4);
    EXPECT_EQ(table_.Task(1), (ScheduledTask{7, 59, kTaskQuit, 0}));
    EXPECT_EQ(table_.Task(2), (ScheduledTask{8, 0, kTaskSelectConnection, 3}));
    EXPECT_EQ(table_.Task(3), (ScheduledTask{8, 0, kTaskDial, 1}));
    EXPECT_EQ(table_.Task(4), (ScheduledTask{22, 0, kTaskDisconnect, 0}));
    EXPECT_EQ(Ini("nTasks"), "4");
    EXPECT_EQ(Ini("2hour"), "8");
    EXPECT_EQ(Ini("2minute"), "0");
    EXPECT_EQ(Ini("2action"), "1");
    EXPECT_EQ(Ini("2connection"), "3");

    TaskTable loaded;
    LoadTasks(loaded, lang_);
    EXPECT_EQ(loaded.nTasks, 4);
    EXPECT_EQ(loaded.tasks, table_.tasks);
}

TEST_F(TaskManagerTest, SavingATaskOfAnExistingTimeAndActionChangesThatTask) {
    Add(6, 0, kTaskSelectConnection, 1);
    Add(8, 0, kTaskDial, 1);
    SaveTasks(table_);
    // The dialog appends the new task; saving merges it into the 06:00 one.
    Add(6, 0, kTaskSelectConnection, 4);
    SaveTasks(table_);
    ASSERT_EQ(table_.nTasks, 2);
    EXPECT_EQ(table_.Task(1), (ScheduledTask{6, 0, kTaskSelectConnection, 4}));
    EXPECT_EQ(Ini("nTasks"), "2");
    EXPECT_EQ(Ini("1connection"), "4");

    // The same time with another action is a task of its own.
    Add(6, 0, kTaskDial, 4);
    SaveTasks(table_);
    EXPECT_EQ(table_.nTasks, 3);
}

TEST_F(TaskManagerTest, OnlyTheFirstEqualTaskIsReplaced) {
    // Two equal tasks can only come from a hand-edited file.
    Add(9, 0, kTaskDial, 1);
    Add(9, 0, kTaskDial, 2);
    Add(9, 0, kTaskDial, 3);
    MergeLastTask(table_);
    ASSERT_EQ(table_.nTasks, 2);
    EXPECT_EQ(table_.Task(1).connection, 3);
    EXPECT_EQ(table_.Task(2).connection, 2);
}

TEST_F(TaskManagerTest, KeysOfTasksBeyondTheCountStayInTheFile) {
    Add(1, 0, kTaskDial, 0);
    Add(2, 0, kTaskDial, 0);
    SaveTasks(table_);
    DeleteTask(table_, 1);
    SaveTasks(table_);
    EXPECT_EQ(Ini("nTasks"), "1");
    EXPECT_EQ(Ini("1hour"), "2");
    EXPECT_EQ(Ini("2hour"), "2") << "left from the earlier save, not read";
}

TEST_F(TaskManagerTest, DeleteMovesTheLaterTasksDown) {
    Add(1, 0, 0, 0);
    Add(2, 0, 0, 0);
    Add(3, 0, 0, 0);
    DeleteTask(table_, 2);
    ASSERT_EQ(table_.nTasks, 2);
    EXPECT_EQ(table_.Task(1).hour, 1);
    EXPECT_EQ(table_.Task(2).hour, 3);
    DeleteTask(table_, 0);
    DeleteTask(table_, 3);
    EXPECT_EQ(table_.nTasks, 2) << "numbers outside the list change nothing";
}

TEST_F(TaskManagerTest, ScheduledConnectionFollowsTheDayAndYesterdaysLastSelection) {
    Add(22, 0, kTaskSelectConnection, 3);
    Add(6, 0, kTaskSelectConnection, 1);
    Add(6, 30, kTaskDial, 0);
    SaveTasks(table_);
    EXPECT_EQ(ScheduledConnection(table_, 23, 0), 3);
    EXPECT_EQ(ScheduledConnection(table_, 7, 0), 1);
    EXPECT_EQ(ScheduledConnection(table_, 5, 0), 3) << "yesterday's last selection";
    EXPECT_EQ(ScheduledConnection(table_, 6, 0), 1) << "a task at this very minute counts";
    EXPECT_EQ(ScheduledConnection(table_, 21, 59), 1);
    EXPECT_EQ(ScheduledConnection(table_, 22, 0), 3);

    FakeClock clock;
    clock.SetNow({2026, 12, 7, 7, 0, 0, 0, 0});
    EXPECT_EQ(ScheduledConnection(table_, clock), 1);
}

TEST_F(TaskManagerTest, ScheduledConnectionWithoutSelectTasksIsNone) {
    EXPECT_EQ(ScheduledConnection(table_, 12, 0), 0);
    Add(8, 0, kTaskDial, 2);
    Add(9, 0, kTaskDisconnect, 5);
    EXPECT_EQ(ScheduledConnection(table_, 12, 0), 0);
}

}  // namespace
}  // namespace kestrelon
