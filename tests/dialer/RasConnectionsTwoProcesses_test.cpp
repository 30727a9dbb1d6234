// The tool and the test are two processes on one service directory: connections made by one
// are seen, kept and ended by the other.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/FileHelpers.h"
#include "dialer/SimulatedRas.h"
#include "platform/TempProgramDirectory.h"
#include "platform/posix/PosixTimerLoop.h"
#include "platform/posix/SystemClock.h"

extern char** environ;

namespace kestrelon {
namespace {

struct ToolResult {
    int exitCode = -1;
    std::string output;
};

// Runs kestrelon-rasdial with the service directory set and collects what it prints. A tool
// that hangs is killed after the deadline and reported with exit code -1.
ToolResult RunTool(const std::string& serviceDir, const std::vector<std::string>& arguments) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        if (std::strncmp(*e, "KESTRELON_RAS_DIR=", 18) != 0) {
            env.emplace_back(*e);
        }
    }
    env.push_back("KESTRELON_RAS_DIR=" + serviceDir);
    std::vector<char*> envp;
    for (auto& e : env) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);
    std::vector<std::string> args{KESTRELON_RASDIAL_TOOL};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);

    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) {
        return {};
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    ToolResult result;
    if (spawned != 0) {
        ::close(pipeEnds[0]);
        return result;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    bool timedOut = false;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd fd{pipeEnds[0], POLLIN, 0};
        if (left.count() <= 0 || ::poll(&fd, 1, static_cast<int>(left.count())) == 0) {
            timedOut = true;
            ::kill(pid, SIGKILL);
            break;
        }
        char buffer[512];
        const ssize_t n = ::read(pipeEnds[0], buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        result.output.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.exitCode = !timedOut && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

class TwoProcessTest : public ::testing::Test {
  protected:
    TwoProcessTest() : dir_(temp_.Path() + "/ras") {
        std::filesystem::create_directories(dir_);
        test::WriteFile(dir_ + "/rasphone.pbk",
                        "[Tool Dial]\nDeviceMs=30\nAuthMs=30\n"
                        "[Test Dial]\nDeviceMs=30\nAuthMs=30\n"
                        "[Refused]\nAnswer=authfail\nDeviceMs=10\nAuthMs=10\n");
    }

    TempProgramDirectory temp_;
    std::string dir_;
    SystemClock clock_;
    PosixTimerLoop loop_;
};

TEST_F(TwoProcessTest, ConnectionOfTheToolOutlivesItAndEndsByAHangUpHere) {
    ToolResult dial = RunTool(dir_, {"Tool Dial"});
    EXPECT_EQ(dial.exitCode, 0);
    EXPECT_EQ(dial.output,
              "Connecting to Tool Dial...\n"
              "Verifying username and password...\n"
              "Connected to Tool Dial.\n"
              "Command completed successfully.\n");

    SimulatedRas ras(dir_, clock_, loop_);
    const std::vector<RasConnection> connections = ras.EnumConnections();
    ASSERT_EQ(connections.size(), 1u);
    EXPECT_EQ(connections[0].entryName, "Tool Dial");
    std::uint32_t state = 0;
    EXPECT_EQ(ras.GetConnectStatus(connections[0].handle, state), 0u);
    EXPECT_EQ(state, kRasCsConnected);
    const auto duration = ras.ConnectDurationMs(connections[0].handle);
    ASSERT_TRUE(duration.has_value());
    EXPECT_LT(*duration, 20000u) << "the tool's start tick is on this process's clock";

    ToolResult list = RunTool(dir_, {});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(list.output, "Connected to\nTool Dial\nCommand completed successfully.\n");

    ras.HangUp(connections[0].handle);
    list = RunTool(dir_, {});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(list.output, "No connections\nCommand completed successfully.\n");
}

TEST_F(TwoProcessTest, ConnectionMadeHereIsEndedByTheTool) {
    SimulatedRas ras(dir_, clock_, loop_);
    std::vector<std::uint32_t> states;
    ras.SetDialEventSink([&](int, std::uint32_t state, std::uint32_t error) {
        states.push_back(state);
        if (state == kRasCsConnected || error != 0) {
            loop_.Quit(static_cast<int>(error));
        }
    });
    RasHandle handle = 0;
    ASSERT_EQ(ras.Dial(1, "Test Dial", "", "", handle), 0u);
    EXPECT_EQ(loop_.Run(), 0);
    ASSERT_EQ(states.back(), kRasCsConnected);

    ToolResult list = RunTool(dir_, {});
    EXPECT_EQ(list.output, "Connected to\nTest Dial\nCommand completed successfully.\n");
    ToolResult again = RunTool(dir_, {"Test Dial"});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.output,
              "You are already connected to Test Dial.\nCommand completed successfully.\n");

    ToolResult hangUp = RunTool(dir_, {"Test Dial", "/disconnect"});
    EXPECT_EQ(hangUp.exitCode, 0);
    EXPECT_EQ(hangUp.output, "Command completed successfully.\n");
    EXPECT_TRUE(ras.EnumConnections().empty());
    std::uint32_t state = 0;
    EXPECT_EQ(ras.GetConnectStatus(handle, state), kErrorInvalidHandle);

    hangUp = RunTool(dir_, {"Test Dial", "/disconnect"});
    EXPECT_EQ(hangUp.exitCode, 1);
    EXPECT_EQ(hangUp.output, "You are not connected to Test Dial.\n");
}

TEST_F(TwoProcessTest, ToolReportsFailedDialsWithTheServiceText) {
    ToolResult refused = RunTool(dir_, {"Refused", "someone", "wrong"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.output,
              "Connecting to Refused...\n"
              "Verifying username and password...\n"
              "Remote Access error 691 - Access was denied because the username and/or "
              "password was invalid on the domain.\n");
    ToolResult unknown = RunTool(dir_, {"Nowhere"});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_EQ(unknown.output,
              "Connecting to Nowhere...\n"
              "Remote Access error 623 - The system could not find the phone book entry for "
              "this connection.\n");
    SimulatedRas ras(dir_, clock_, loop_);
    EXPECT_TRUE(ras.EnumConnections().empty());
}

TEST_F(TwoProcessTest, DialsOfManyProcessesAtOnceGetUniqueHandles) {
    std::string book;
    for (int n = 0; n < 6; ++n) {
        book += "[Line " + std::to_string(n) + "]\nDeviceMs=5\nAuthMs=5\n";
    }
    test::WriteFile(dir_ + "/rasphone.pbk", book);
    // Start the tools together so that their table writes overlap.
    std::vector<pid_t> pids;
    for (int n = 0; n < 6; ++n) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            const ToolResult result = RunTool(dir_, {"Line " + std::to_string(n)});
            ::_exit(result.exitCode == 0 ? 0 : 1);
        }
        ASSERT_GT(pid, 0);
        pids.push_back(pid);
    }
    for (const pid_t pid : pids) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    SimulatedRas ras(dir_, clock_, loop_);
    const std::vector<RasConnection> connections = ras.EnumConnections();
    EXPECT_EQ(connections.size(), 6u) << "no process lost another's row";
    std::vector<RasHandle> handles;
    for (const RasConnection& c : connections) {
        handles.push_back(c.handle);
    }
    std::sort(handles.begin(), handles.end());
    EXPECT_EQ(std::adjacent_find(handles.begin(), handles.end()), handles.end());
}

}  // namespace
}  // namespace kestrelon
