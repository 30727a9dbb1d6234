#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "conman/ConManHooks.h"
#include "conman/TaskManager.h"
#include "conman/TaskScheduler.h"
#include "core/Startup.h"
#include "dialer/DialHarness.h"

namespace kestrelon {
namespace {

// The window side of shut-down, as far as the scheduler's Quit reaches it.
class QuietHost : public ApplicationHost {
  public:
    int ChooseLanguage(const std::vector<std::string>&) override { return 0; }
    void ShowSplash() override {}
    void LoadMainWindow() override {}
    void RunMainTimer() override {}
    void ShowMainWindow() override {}
    Position MainWindowPosition() const override { return {}; }
    int SelectedProfileIndex() const override { return selected; }
    void CloseNetworkControls() override {}
    void RemoveTrayIcons() override { ++trayIconsRemoved; }

    int selected = -1;
    int trayIconsRemoved = 0;
};

// The Connection Manager driving the real dial session controller on the simulated service:
// the heartbeat calls the check, the tasks press the engine's buttons and quit the program.
class ConManDialTest : public test::DialHarness {
  protected:
    ConManDialTest() {
        fake_.clock.SetNow({2026, 12, 7, 9, 0, 30, 0, 0});
        PhoneBook(
            "[Home Line]\nDeviceMs=2000\nAuthMs=1000\n"
            "[Office Line]\nDeviceMs=2000\nAuthMs=1000\nIpAddress=10.1.2.3\n");
        AddProfile("Home", "Home Line");
        AddProfile("Office", "Office Line");
        app_.settings.ConMan = true;
    }

    void Task(int hour, int minute, int action, int connection = 0) {
        app_.tasks.nTasks += 1;
        app_.tasks.Task(app_.tasks.nTasks) = {hour, minute, action, connection};
        SaveTasks(app_.tasks);
    }

    // Starts the engine with the scheduler on its heartbeat; the tasks are read back from the
    // settings file as start-up does.
    void StartWithScheduler() {
        app_.tasks = TaskTable{};
        LoadTasks(app_.tasks, app_.lang);
        Start();
        program_.SetDialer(*ras_, *dialer_);
        AttachConMan(scheduler_, *dialer_);
        scheduler_.Actions().quit = [this] { program_.Shutdown(true); };
    }

    bool Ended() const { return fake_.loop.quitCode.has_value(); }

    struct Line {
        std::string minute;  // "hh:mm"
        std::string text;
        bool operator==(const Line&) const = default;
    };
    friend void PrintTo(const Line& line, std::ostream* out) {
        *out << line.minute << " " << line.text;
    }
    // The program log's lines with the minute they were written in.
    std::vector<Line> ProgramLines() const {
        std::vector<Line> lines;
        std::istringstream in(Log("Program.log"));
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            if (line.size() > 19) {
                lines.push_back({line.substr(9, 5), line.substr(19)});
            }
        }
        return lines;
    }

    QuietHost host_;
    Application program_{app_, host_};
    TaskScheduler scheduler_{app_};
};

TEST_F(ConManDialTest, AScheduleSelectsDialsDisconnectsAndQuitsOnItsOwn) {
    Task(9, 1, kTaskSelectConnection, 2);
    Task(9, 2, kTaskDial);
    Task(9, 4, kTaskDisconnect);
    Task(9, 5, kTaskQuit);
    StartWithScheduler();
    ASSERT_TRUE(RunUntil([&] { return Ended(); }, 6 * 60 * 1000));

    EXPECT_EQ(ProgramLines(), (std::vector<Line>{
                                  {"09:01", "ConMan: Connection Office Selected"},
                                  {"09:02", "ConMan: Start dialing"},
                                  {"09:02", "Started dialing: Office"},
                                  {"09:02", "Connection established to Office"},
                                  {"09:04", "ConMan: Disconnect"},
                                  {"09:04", "Connection broken by user"},
                                  {"09:05", "ConMan: Quit"},
                                  {"09:05", "Kestrelon shut down"},
                              }));
    EXPECT_EQ(app_.SelProfile, 2);
    EXPECT_EQ(Session().StatusState, kStatusDisconnected);
    EXPECT_EQ(Count(Log("Dial.log"), "Connection Time: 1:5"), 1) << Log("Dial.log");
    EXPECT_EQ(fake_.loop.quitCode, 0);
    EXPECT_EQ(host_.trayIconsRemoved, 1);
    EXPECT_EQ(service_->EnumConnections().size(), 0U);
}

TEST_F(ConManDialTest, QuitWhileOnlineSummarisesTheConnectionBeforeTheEnd) {
    Task(9, 1, kTaskDial);
    Task(9, 3, kTaskQuit);
    app_.SelProfile = 1;  // the main window's selection, which the dial task dials
    StartWithScheduler();
    ASSERT_TRUE(RunUntil([&] { return Ended(); }, 4 * 60 * 1000));
    EXPECT_EQ(Session().ConnLine, 1) << "the connection is kept, not hung up";
    const std::string dial = Log("Dial.log");
    EXPECT_EQ(Count(dial, "Connection Time: 1:5"), 1) << dial;
    EXPECT_EQ(Count(dial, "Connection Charges:"), 1);
    const std::string program = Log("Program.log");
    EXPECT_LT(program.find("ConMan: Quit"), program.find("Kestrelon shut down"));
}

TEST_F(ConManDialTest, ADialTaskOfTheProfileAlreadyOnlineChangesNothing) {
    Task(9, 1, kTaskSelectConnection, 1);
    Task(9, 1, kTaskDial);
    Task(9, 2, kTaskDial);
    StartWithScheduler();
    Run(3 * 60 * 1000);
    EXPECT_EQ(Session().ConnLine, 1);
    EXPECT_EQ(Count(Log("Program.log"), "ConMan: Start dialing"), 2);
    EXPECT_EQ(Count(Log("Program.log"), "Started dialing: Home"), 1);
    EXPECT_EQ(Count(Log("Program.log"), "Connection established to Home"), 1);
}

TEST_F(ConManDialTest, TheHeartbeatLeavesTheSchedulerAloneWhileConManIsOff) {
    app_.settings.ConMan = false;
    Task(9, 1, kTaskSelectConnection, 2);
    Task(9, 2, kTaskDial);
    StartWithScheduler();
    Run(3 * 60 * 1000);
    EXPECT_EQ(Count(Log("Program.log"), "ConMan:"), 0);
    EXPECT_FALSE(Session().Dialing);
    EXPECT_LT(Session().ConnLine, 1);
}

}  // namespace
}  // namespace kestrelon
