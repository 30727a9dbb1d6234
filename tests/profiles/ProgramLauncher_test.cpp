#include "profiles/ProgramLauncher.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "core/AppSettings.h"
#include "core/FileHelpers.h"
#include "core/ProgramDirectory.h"
#include "platform/FakePlatform.h"
#include "platform/TempProgramDirectory.h"
#include "platform/posix/PosixProcessLauncher.h"
#include "profiles/ConnectionProfile.h"

namespace kestrelon {
namespace {

using test::FileExists;
using test::ReadFile;
using test::WriteFile;

using Words = std::vector<std::string>;

TEST(SplitCommandLineTest, QuotesGroupWordsAndNothingElseIsInterpreted) {
    EXPECT_EQ(SplitCommandLine("xterm -e top"), (Words{"xterm", "-e", "top"}));
    EXPECT_EQ(SplitCommandLine("  spaced \t out  "), (Words{"spaced", "out"}));
    EXPECT_EQ(SplitCommandLine("\"/opt/My Tools/run\" \"two words\" last"),
              (Words{"/opt/My Tools/run", "two words", "last"}));
    EXPECT_EQ(SplitCommandLine("say 'it is $HOME' \"a \\\"b\\\" \\$c \\n\""),
              (Words{"say", "it is $HOME", "a \"b\" $c \\n"}));
    EXPECT_EQ(SplitCommandLine("a\\ b pre\"mid dle\"post ''"),
              (Words{"a b", "premid dlepost", ""}));
    EXPECT_EQ(SplitCommandLine("run; rm -rf / | cat > x && $(boom) `x`"),
              (Words{"run;", "rm", "-rf", "/", "|", "cat", ">", "x", "&&", "$(boom)", "`x`"}));
    EXPECT_EQ(SplitCommandLine("\"unclosed quote"), (Words{"unclosed quote"}));
    EXPECT_TRUE(SplitCommandLine("   ").empty());
}

class ProgramLauncherTest : public ::testing::Test {
  protected:
    void SetList(int profile, const std::vector<LaunchApp>& apps) {
        ConnectionProfile& p = profiles_.ConProf[static_cast<std::size_t>(profile)];
        p.nLaunchApps = static_cast<int>(apps.size());
        for (std::size_t j = 0; j < apps.size(); ++j) {
            p.LaunchApps[j + 1] = apps[j];
        }
    }
    std::vector<std::string> StartedPrograms() const {
        std::vector<std::string> names;
        for (const auto& s : fake_.processes.started) {
            names.push_back(s.program);
        }
        return names;
    }

    TempProgramDirectory dir_;
    FakePlatform fake_;
    AppSettings settings_;
    ProfileTable profiles_;
    ProgramLauncher launcher_{settings_, profiles_, fake_.processes};
};

TEST_F(ProgramLauncherTest, OnlyTheMarkedProgramIsEndedAtDisconnect) {
    profiles_.nProfs = 2;
    SetList(2, {{"first --a", false}, {"second", true}, {"third x y", false}});
    launcher_.LaunchPrograms(2);
    ASSERT_EQ(StartedPrograms(), (Words{"first", "second", "third"}));
    EXPECT_EQ(fake_.processes.started[2].arguments, (Words{"x", "y"}));
    EXPECT_EQ(fake_.processes.started[0].workingDirectory, dir_.Path());
    const ProcessId second = fake_.processes.started[1].id;
    EXPECT_EQ(launcher_.LaunchedThreads(), std::vector<ProcessId>{second});
    launcher_.CloseLaunchedPrograms();
    EXPECT_EQ(fake_.processes.quitRequests, std::vector<ProcessId>{second});
    EXPECT_TRUE(launcher_.LaunchedThreads().empty());
    // The record is empty now: a second disconnect ends nothing.
    launcher_.CloseLaunchedPrograms();
    EXPECT_EQ(fake_.processes.quitRequests.size(), 1U);
}

TEST_F(ProgramLauncherTest, AProgramThatEndedByItselfIsNoErrorAtDisconnect) {
    profiles_.nProfs = 1;
    SetList(1, {{"editor", true}, {"player", true}});
    launcher_.LaunchPrograms(1);
    fake_.processes.End(fake_.processes.started[0].id);
    launcher_.CloseLaunchedPrograms();
    EXPECT_EQ(fake_.processes.quitRequests, std::vector<ProcessId>{fake_.processes.started[1].id});
}

TEST_F(ProgramLauncherTest, TheGlobalListReplacesTheProfilesOwn) {
    profiles_.nProfs = 3;
    SetList(0, {{"global", true}});
    SetList(1, {{"own-one", false}});
    SetList(3, {{"own-three", false}});
    settings_.GlobalLaunchApps = true;
    launcher_.LaunchPrograms(1);
    launcher_.LaunchPrograms(3);
    EXPECT_EQ(StartedPrograms(), (Words{"global", "global"}));
    settings_.GlobalLaunchApps = false;
    launcher_.LaunchPrograms(3);
    EXPECT_EQ(StartedPrograms().back(), "own-three");
    // Programs started for two connections are all ended at the one disconnect.
    EXPECT_EQ(launcher_.LaunchedThreads().size(), 2U);
}

TEST_F(ProgramLauncherTest, AtMostThirtyTwoProgramsAreRecordedForTheDisconnect) {
    profiles_.nProfs = 1;
    SetList(1, std::vector<LaunchApp>(ConnectionProfile::kMaxLaunchApps, {"tool", true}));
    launcher_.LaunchPrograms(1);
    launcher_.LaunchPrograms(1);
    EXPECT_EQ(fake_.processes.started.size(), 64U);
    EXPECT_EQ(launcher_.LaunchedThreads().size(), ProgramLauncher::kMaxLaunchedThreads);
}

// The POSIX launcher, remembering every program so that the test can end them all.
class RecordingLauncher : public ProcessLauncher {
  public:
    ~RecordingLauncher() override {
        for (const ProcessId id : started) {
            real.RequestQuit(id);
        }
    }
    std::optional<ProcessId> Start(const std::string& program, const std::vector<std::string>& a,
                                   const std::string& directory) override {
        const auto id = real.Start(program, a, directory);
        if (id) {
            started.push_back(*id);
        }
        return id;
    }
    void RequestQuit(ProcessId id) override { real.RequestQuit(id); }
    bool IsRunning(ProcessId id) override { return real.IsRunning(id); }

    PosixProcessLauncher real;
    std::vector<ProcessId> started;
};

// The real launcher: programs are started without a shell, detached, in the program directory.
class RealProgramLauncherTest : public ::testing::Test {
  protected:
    // A small program that writes its words and its directory to a file, then waits.
    std::string Script(const std::string& name) {
        const std::string path = dir_.Path() + "/bin dir/" + name;
        std::filesystem::create_directories(dir_.Path() + "/bin dir");
        WriteFile(path,
                  "#!/bin/sh\n"
                  "out=\"$1\"; shift\n"
                  "{ pwd; for a in \"$@\"; do echo \"[$a]\"; done; } > \"$out.tmp\"\n"
                  "mv \"$out.tmp\" \"$out\"\n"
                  "trap 'echo ended > \"$out.end\"; exit 0' TERM\n"
                  "while :; do sleep 0.05; done\n");
        ::chmod(path.c_str(), 0755);
        return path;
    }
    static bool WaitFor(const std::function<bool()>& condition) {
        for (int i = 0; i < 200; ++i) {
            if (condition()) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
        return condition();
    }

    TempProgramDirectory dir_;
    RecordingLauncher processes_;
    AppSettings settings_;
    ProfileTable profiles_;
    ProgramLauncher launcher_{settings_, profiles_, processes_};
};

TEST_F(RealProgramLauncherTest, ThreeProgramsStartAndOnlyTheMarkedOneEnds) {
    const std::string script = Script("my prog.sh");
    const std::string q = "\"" + script + "\" ";
    profiles_.nProfs = 1;
    ConnectionProfile& p = profiles_.ConProf[1];
    p.nLaunchApps = 4;
    p.LaunchApps[1] = {q + "one \"two words\" 'it''s' $HOME", false};
    p.LaunchApps[2] = {"/nonexistent/program two", true};
    p.LaunchApps[3] = {q + "three", true};
    p.LaunchApps[4] = {q + "four ';' '|' '>x'", false};
    launcher_.LaunchPrograms(1);
    ASSERT_TRUE(WaitFor([&] {
        return FileExists(dir_.File("one")) && FileExists(dir_.File("three")) &&
               FileExists(dir_.File("four"));
    }));
    EXPECT_EQ(processes_.started.size(), 3U);
    EXPECT_EQ(ReadFile(dir_.File("one")), dir_.Path() + "\n[two words]\n[its]\n[$HOME]\n");
    EXPECT_EQ(ReadFile(dir_.File("four")), dir_.Path() + "\n[;]\n[|]\n[>x]\n");
    EXPECT_FALSE(FileExists(dir_.File("x")));
    // The missing program is skipped and recorded nowhere: only "three" is to be ended.
    ASSERT_EQ(launcher_.LaunchedThreads().size(), 1U);

    launcher_.CloseLaunchedPrograms();
    EXPECT_TRUE(WaitFor([&] { return FileExists(dir_.File("three.end")); }));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(FileExists(dir_.File("one.end")));
    EXPECT_FALSE(FileExists(dir_.File("four.end")));
}

TEST_F(RealProgramLauncherTest, AMarkedProgramTheUserClosedIsNoErrorAtDisconnect) {
    profiles_.nProfs = 1;
    ConnectionProfile& p = profiles_.ConProf[1];
    p.nLaunchApps = 1;
    p.LaunchApps[1] = {"/bin/sh -c 'exit 0'", true};
    launcher_.LaunchPrograms(1);
    ASSERT_EQ(launcher_.LaunchedThreads().size(), 1U);
    const ProcessId id = launcher_.LaunchedThreads()[0];
    EXPECT_TRUE(WaitFor([&] { return !processes_.IsRunning(id); }));
    launcher_.CloseLaunchedPrograms();
    EXPECT_TRUE(launcher_.LaunchedThreads().empty());
}

}  // namespace
}  // namespace kestrelon
