#include "conman/TaskScheduler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conman/TaskManager.h"
#include "core/AppCore.h"
#include "core/AppSettings.h"
#include "core/FileHelpers.h"
#include "core/INIio.h"
#include "platform/FakePlatform.h"
#include "platform/TempProgramDirectory.h"

namespace kestrelon {
namespace {

// The scheduler with recording actions, on the fake wall clock.
class TaskSchedulerTest : public ::testing::Test {
  protected:
    TaskSchedulerTest() {
        InitSoundEvents(app_.settings.sounds);
        app_.settings.ProgLog = "Program.log";
        app_.settings.MaxLogSize = 1000;
        app_.settings.ConMan = true;
        LoadTasks(app_.tasks, app_.lang);
        AddProfile("Home");
        AddProfile("Office");
        scheduler_.Actions() = {
            [this](int n) { done_.push_back("select " + std::to_string(n)); },
            [this] { done_.push_back("dial"); },
            [this] { done_.push_back("disconnect"); },
            [this] { done_.push_back("quit"); },
        };
    }

    void AddProfile(const std::string& name) {
        app_.profiles.nProfs += 1;
        app_.profiles.ConProf[static_cast<std::size_t>(app_.profiles.nProfs)].Name = name;
    }
    void Add(int hour, int minute, int action, int connection = 0) {
        app_.tasks.nTasks += 1;
        app_.tasks.Task(app_.tasks.nTasks) = {hour, minute, action, connection};
        SaveTasks(app_.tasks);
    }
    void At(int hour, int minute, int second, int day = 7) {
        fake_.clock.SetNow({2026, 12, day, hour, minute, second, 0, 0});
    }
    // The heartbeat: one call a second, or faster while dialing.
    void Tick(int times = 1) {
        for (int i = 0; i < times; ++i) {
            scheduler_.RunDueTasks();
        }
    }
    // Lets the clock run with one call per second.
    void RunSeconds(int seconds) {
        for (int i = 0; i < seconds; ++i) {
            fake_.clock.SetNow(AddMilliseconds(fake_.clock.Now(), 1000));
            Tick();
        }
    }
    std::string ProgramLog() const { return test::ReadFile(dir_.File("Program.log")); }

    TempProgramDirectory dir_;
    FakePlatform fake_;
    AppCore app_{fake_.platform};
    TaskScheduler scheduler_{app_};
    std::vector<std::string> done_;
};

using Done = std::vector<std::string>;

TEST_F(TaskSchedulerTest, TheStartMinuteIsSkippedAndTheNextRunsOnceHoweverOftenItTicks) {
    Add(10, 15, kTaskDial);
    Add(10, 16, kTaskDisconnect);
    At(10, 15, 0);
    Tick(50);
    RunSeconds(59);
    EXPECT_EQ(done_, Done{}) << "the minute the scheduler starts in is skipped";
    RunSeconds(1);  // 10:16:00
    EXPECT_EQ(done_, Done{"disconnect"});
    Tick(1000);  // the 1 ms ticks while dialing
    RunSeconds(59);
    EXPECT_EQ(done_, Done{"disconnect"});
    EXPECT_NE(ProgramLog().find("ConMan: Disconnect"), std::string::npos);
}

TEST_F(TaskSchedulerTest, AMinutePassedWhileBlockedIsNotRunLater) {
    Add(10, 16, kTaskDial);
    Add(10, 17, kTaskDisconnect);
    At(10, 15, 59);
    Tick();
    At(10, 17, 1);  // no call during the whole of 10:16
    Tick(3);
    EXPECT_EQ(done_, Done{"disconnect"});
    RunSeconds(120);
    EXPECT_EQ(done_, Done{"disconnect"});
}

TEST_F(TaskSchedulerTest, TasksOfOneMinuteRunInActionOrderAndRunAgainTheNextDay) {
    // Added in another order; the list is sorted on save.
    Add(8, 0, kTaskDial);
    Add(8, 0, kTaskSelectConnection, 2);
    Add(8, 0, kTaskDisconnect);
    At(7, 59, 30);
    RunSeconds(40);
    EXPECT_EQ(done_, (Done{"disconnect", "select 2", "dial"}));
    const std::string log = ProgramLog();
    EXPECT_LT(log.find("ConMan: Disconnect"), log.find("ConMan: Connection Office Selected"));
    EXPECT_LT(log.find("ConMan: Connection Office Selected"), log.find("ConMan: Start dialing"));

    done_.clear();
    At(7, 59, 59, 8);
    Tick();
    RunSeconds(1);  // 08:00 of the next day: only hour and minute count
    EXPECT_EQ(done_, (Done{"disconnect", "select 2", "dial"}));
}

TEST_F(TaskSchedulerTest, ACallNestedInTheEventProcessingOfATaskFindsTheMinuteDone) {
    Add(9, 0, kTaskDial);
    Add(9, 0, kTaskQuit);
    At(8, 59, 59);
    Tick();
    int nested = 0;
    fake_.loop.onProcessEvents = [&] {
        ++nested;
        scheduler_.RunDueTasks();
    };
    RunSeconds(1);
    EXPECT_EQ(done_, (Done{"dial", "quit"}));
    EXPECT_EQ(nested, 2) << "events are let run before each task";
}

TEST_F(TaskSchedulerTest, QuitEndsTheMinuteSoNoLaterTaskRuns) {
    Add(23, 0, kTaskQuit);
    Add(23, 0, kTaskShutdownComputer);
    At(22, 59, 59);
    Tick();
    RunSeconds(1);
    EXPECT_EQ(done_, Done{"quit"});
    EXPECT_EQ(fake_.power.requests, 0);
    EXPECT_NE(ProgramLog().find("ConMan: Quit"), std::string::npos);
}

TEST_F(TaskSchedulerTest, DisableConManIsSavedAndLaterTasksOfTheMinuteStillRun) {
    Add(12, 0, kTaskDisableConMan);
    Add(12, 0, kTaskShutdownComputer);
    Add(12, 1, kTaskDial);
    At(11, 59, 59);
    Tick();
    RunSeconds(1);
    EXPECT_FALSE(app_.settings.ConMan);
    EXPECT_EQ(fake_.power.requests, 1);
    RunSeconds(60);
    EXPECT_EQ(done_, Done{}) << "12:01 finds the Connection Manager off";
    EXPECT_NE(ProgramLog().find("ConMan: Disable Conman"), std::string::npos);

    // The next start reads it back off.
    AppSettings restarted;
    LoadSettings(restarted);
    EXPECT_FALSE(restarted.ConMan);
    EXPECT_EQ(IniReadString("Settings", "ConMan"), "False");
}

TEST_F(TaskSchedulerTest, SwitchedOnAgainTheTasksOfTheCurrentMinuteRun) {
    Add(14, 5, kTaskDial);
    At(14, 0, 0);
    Tick();
    app_.settings.ConMan = false;
    At(14, 5, 10);
    Tick(5);
    EXPECT_EQ(done_, Done{});
    app_.settings.ConMan = true;
    Tick(5);
    EXPECT_EQ(done_, Done{"dial"});
}

TEST_F(TaskSchedulerTest, ASelectTaskWithoutItsProfileIsSkippedWithTheReason) {
    Add(6, 0, kTaskSelectConnection, 0);
    Add(6, 1, kTaskSelectConnection, 3);
    Add(6, 2, kTaskSelectConnection, 1);
    At(5, 59, 59);
    Tick();
    RunSeconds(121);
    EXPECT_EQ(done_, Done{"select 1"});
    const std::string log = ProgramLog();
    EXPECT_NE(log.find("ConMan: Select Connection skipped, there is no profile 0"),
              std::string::npos);
    EXPECT_NE(log.find("ConMan: Select Connection skipped, there is no profile 3"),
              std::string::npos);
    EXPECT_NE(log.find("ConMan: Connection Home Selected"), std::string::npos);
}

TEST_F(TaskSchedulerTest, WithoutASelectActionTheSelectedProfileNumberIsSet) {
    scheduler_.Actions().selectConnection = nullptr;
    Add(6, 0, kTaskSelectConnection, 2);
    At(5, 59, 59);
    Tick();
    RunSeconds(1);
    EXPECT_EQ(app_.SelProfile, 2);
}

TEST_F(TaskSchedulerTest, ShutdownAsksThePowerManagerAndLogsARefusal) {
    Add(1, 0, kTaskShutdownComputer);
    Add(1, 1, kTaskShutdownComputer);
    Add(1, 2, kTaskShutdownComputer);
    At(0, 59, 59);
    Tick();
    RunSeconds(1);
    EXPECT_EQ(fake_.power.requests, 1);
    fake_.power.result = {PowerOffResult::Outcome::Refused, "CanPowerOff: challenge"};
    RunSeconds(60);
    fake_.power.result = {PowerOffResult::Outcome::Unavailable, "no system bus"};
    RunSeconds(60);
    EXPECT_EQ(fake_.power.requests, 3);
    const std::string log = ProgramLog();
    std::size_t lines = 0;
    for (auto at = log.find("ConMan: Shutdown computer\r\n"); at != std::string::npos;
         at = log.find("ConMan: Shutdown computer\r\n", at + 1)) {
        ++lines;
    }
    EXPECT_EQ(lines, 3U);
    EXPECT_NE(log.find("ConMan: The computer may not be shut down: CanPowerOff: challenge"),
              std::string::npos);
    EXPECT_NE(log.find("ConMan: Shutting the computer down is not available: no system bus"),
              std::string::npos);
}

TEST_F(TaskSchedulerTest, DisconnectPlaysTheBrokenByUserSound) {
    app_.settings.sounds.events[kSoundBrokenByUser].Enabled = true;
    app_.settings.sounds.events[kSoundBrokenByUser].FName = "bye.wav";
    Add(18, 30, kTaskDisconnect);
    At(18, 29, 59);
    Tick();
    RunSeconds(1);
    EXPECT_EQ(done_, Done{"disconnect"});
    ASSERT_EQ(fake_.sound.played.size(), 1U);
    EXPECT_NE(fake_.sound.played[0].path.find("bye.wav"), std::string::npos);
}

TEST_F(TaskSchedulerTest, UnknownActionCodesAreSkipped) {
    Add(3, 0, 7);
    Add(3, 0, -1);
    Add(3, 0, kTaskDial);
    At(2, 59, 59);
    Tick();
    RunSeconds(1);
    EXPECT_EQ(done_, Done{"dial"});
}

}  // namespace
}  // namespace kestrelon
