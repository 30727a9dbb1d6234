#include "core/Startup.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/AppCore.h"
#include "core/FileHelpers.h"
#include "core/INIio.h"
#include "core/InstanceLock.h"
#include "core/ProgramDirectory.h"
#include "core/Scramble.h"
#include "dialer/DialSessionController.h"
#include "dialer/RasFunc.h"
#include "dialer/SimulatedRas.h"
#include "platform/FakePlatform.h"
#include "platform/TempProgramDirectory.h"

extern char** environ;

namespace kestrelon {
namespace {

using test::ReadFile;
using test::WriteFile;

class RecordingHost : public ApplicationHost {
  public:
    int ChooseLanguage(const std::vector<std::string>& entries) override {
        Record("ChooseLanguage");
        offered = entries;
        return languageChoice;
    }
    void ShowSplash() override { Record("ShowSplash"); }
    void LoadMainWindow() override {
        Record("LoadMainWindow");
        if (loadMainWindow) {
            loadMainWindow();
        }
    }
    void RunMainTimer() override {
        Record("RunMainTimer");
        if (runMainTimer) {
            runMainTimer();
        }
    }
    void ShowMainWindow() override { Record("ShowMainWindow"); }
    Position MainWindowPosition() const override { return position; }
    int SelectedProfileIndex() const override { return selected; }
    void CloseNetworkControls() override { Record("CloseNetworkControls"); }
    void RemoveTrayIcons() override { Record("RemoveTrayIcons"); }

    void Record(const std::string& call) { calls.push_back(call + (state ? state() : "")); }

    std::vector<std::string> calls;
    // What else the test wants to know at each call, appended to the call's name.
    std::function<std::string()> state;
    // What the window side does beyond being recorded.
    std::function<void()> loadMainWindow;
    std::function<void()> runMainTimer;
    std::vector<std::string> offered;
    int languageChoice = 0;
    Position position;
    int selected = -1;
};

// One run of the program: its platform, records, window side and start-up.
struct Session {
    Session() {
        fake.clock.SetNow(LocalTime{2026, 3, 14, 9, 26, 53});
        fake.loop.onProcessEvents = [this] { host.Record("ProcessEvents"); };
    }
    FakePlatform fake;
    AppCore app{fake.platform};
    RecordingHost host;
    Application application{app, host};
};

constexpr char kStamp[] = "14/03/26 09:26:53  ";

class StartupTest : public ::testing::Test {
  protected:
    void SetUp() override { savedDirectory_ = std::filesystem::current_path(); }
    void TearDown() override { std::filesystem::current_path(savedDirectory_); }

    std::string Ini() const { return dir_.File("Kestrelon.Ini"); }
    std::string ProgramLog() const { return ReadFile(dir_.File("Program.log")); }

    // A file written by this version, so that start-up is not a first run.
    void WriteSettings(const std::string& settings, const std::string& more = {}) {
        WriteFile(Ini(), "[Settings]\nVersion=" + ProgramVersionText() + "\nProgLog=Program.log\n" +
                             settings + more);
    }

    // Marks a call with whether the log holds the start and end lines and which sounds played.
    void Observe(Session& s) {
        s.host.state = [this, &s] {
            const std::string log = ProgramLog();
            std::string state;
            state += log.find("Kestrelon started") != std::string::npos ? " started" : "";
            state += log.find("Kestrelon shut down") != std::string::npos ? " stopped" : "";
            for (const auto& played : s.fake.sound.played) {
                state += " " + played.path;
            }
            return state;
        };
    }

    static constexpr char kSounds[] =
        "[Sounds]\n1Enabled=True\n1FName=start.wav\n2Enabled=True\n2FName=end.wav\n";

    std::filesystem::path savedDirectory_;
    TempProgramDirectory dir_;
};

TEST_F(StartupTest, StartUpShowsTheSplashLogsPlaysLoadsRunsAndShows) {
    WriteSettings("", kSounds);
    const std::string earlier = "01/03/26 18:00:00  Connection broken\r\n";
    WriteFile(dir_.File("Program.log"), earlier);
    Session s;
    Observe(s);

    EXPECT_EQ(s.application.Main(), Application::StartResult::Started);
    EXPECT_EQ(s.host.calls,
              (std::vector<std::string>{
                  "ShowSplash", "ProcessEvents", "LoadMainWindow started start.wav",
                  "RunMainTimer started start.wav", "ShowMainWindow started start.wav"}));
    EXPECT_EQ(ProgramLog(), earlier + "\r\n" + kStamp + "Kestrelon started\r\n");
    EXPECT_TRUE(s.fake.sound.played[0].keepPlaying);
    EXPECT_FALSE(s.application.FirstRun());
    EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), dir_.Path()));
}

TEST_F(StartupTest, TheFirstRunAsksForTheLanguageBeforeAnythingIsShown) {
    WriteFile(dir_.File("lngDeutsch.ini"), "[default]\nkrstart=Kestrelon gestartet\n");
    Session s;
    s.host.languageChoice = 1;
    EXPECT_EQ(s.application.Main(), Application::StartResult::Started);
    EXPECT_TRUE(s.application.FirstRun());
    EXPECT_EQ(s.host.calls, (std::vector<std::string>{
                                "ProcessEvents", "ChooseLanguage", "ShowSplash", "ProcessEvents",
                                "LoadMainWindow", "RunMainTimer", "ShowMainWindow"}));
    EXPECT_EQ(s.host.offered, (std::vector<std::string>{"Default (English)", "Deutsch"}));
    EXPECT_EQ(IniReadString("Settings", "Version"), ProgramVersionText());
    EXPECT_EQ(IniReadString("Settings", "Language"), "Deutsch");
    // The chosen language is in use at once; no separator goes into a new log.
    EXPECT_EQ(ProgramLog(), std::string(kStamp) + "Kestrelon gestartet\r\n");
}

TEST_F(StartupTest, AHiddenStartNeedsATrayIcon) {
    for (const bool trayAvailable : {true, false}) {
        WriteSettings("StartHidden=True\n");
        Session s;
        s.fake.tray.available = trayAvailable;
        s.fake.loop.onProcessEvents = nullptr;
        s.application.Main();
        std::vector<std::string> expected{"ShowSplash", "LoadMainWindow", "RunMainTimer"};
        if (!trayAvailable) {
            expected.push_back("ShowMainWindow");
        }
        EXPECT_EQ(s.host.calls, expected) << "tray available: " << trayAvailable;
    }
}

TEST_F(StartupTest, ASecondInstanceEndsSilently) {
    WriteSettings("", kSounds);
    auto first = std::make_unique<Session>();
    ASSERT_EQ(first->application.Main(), Application::StartResult::Started);

    test::FileWriteCounter writes(dir_.Path());
    {
        Session second;
        EXPECT_EQ(second.application.Main(), Application::StartResult::AnotherInstanceRuns);
        EXPECT_TRUE(second.host.calls.empty());
        EXPECT_TRUE(second.fake.messages.informations.empty());
        EXPECT_TRUE(second.fake.sound.played.empty());
    }
    EXPECT_EQ(writes.Writes("Kestrelon.Ini"), 0);
    EXPECT_EQ(writes.Writes("Program.log"), 0);

    first.reset();
    Session third;
    EXPECT_EQ(third.application.Main(), Application::StartResult::Started);
}

TEST_F(StartupTest, ShutDownSavesThePlaceLogsTheEndAndQuits) {
    WriteSettings("Windowx=5\nLastCon=3\n", kSounds);
    Session s;
    s.application.Main();
    s.host.calls.clear();
    s.fake.sound.played.clear();
    Observe(s);
    s.host.position = {120, 80.5};
    s.host.selected = 0;

    s.application.Shutdown(true);
    EXPECT_EQ(s.host.calls, (std::vector<std::string>{"CloseNetworkControls started",
                                                      "ProcessEvents started stopped",
                                                      "RemoveTrayIcons started stopped end.wav"}));
    EXPECT_EQ(IniReadString("Settings", "Windowx"), "120");
    EXPECT_EQ(IniReadString("Settings", "Windowy"), "80.5");
    EXPECT_EQ(IniReadString("Settings", "LastCon"), "1");
    EXPECT_TRUE(ProgramLog().ends_with(std::string("\r\n") + kStamp + "Kestrelon shut down\r\n"));
    EXPECT_EQ(s.fake.loop.quitCode, 0);

    // Shut-down without ending the process can run again; nothing selected is stored as 0.
    s.fake.loop.quitCode.reset();
    s.host.selected = -1;
    s.application.Shutdown(false);
    EXPECT_EQ(IniReadString("Settings", "LastCon"), "0");
    EXPECT_FALSE(s.fake.loop.quitCode.has_value());
}

TEST(AlternateExecutable, IsRecognisedByTheFirstFiveLettersOfItsName) {
    EXPECT_TRUE(IsAlternateExecutableName("/opt/kr/Krestelon"));
    EXPECT_TRUE(IsAlternateExecutableName("/opt/kr/Krest.exe"));
    EXPECT_TRUE(IsAlternateExecutableName("Krest2000"));
    EXPECT_FALSE(IsAlternateExecutableName("/opt/kr/krestelon"));
    EXPECT_FALSE(IsAlternateExecutableName("/opt/kr/Kres"));
    EXPECT_FALSE(IsAlternateExecutableName("/opt/Krestelon/kestrelon"));
    EXPECT_FALSE(IsAlternateExecutableName("/opt/kr/kestrelon"));
}

// Run as this test program, it starts a copy of itself named like the alternate executable,
// which runs only this test and does the real check.
TEST_F(StartupTest, TheAlternateExecutableKeepsRunningAfterExit) {
    const std::string self = ExecutablePath();
    const std::string filter =
        "--gtest_filter=StartupTest.TheAlternateExecutableKeepsRunningAfterExit";
    if (!IsAlternateExecutableName(self)) {
        std::string copy = dir_.File("Krestelon-core-tests");
        std::error_code ec;
        std::filesystem::create_hard_link(self, copy, ec);
        if (ec) {
            ASSERT_TRUE(std::filesystem::copy_file(self, copy));
        }
        const std::string output = dir_.File("alternate.out");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT, 0600);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        std::string filterArg = filter;
        char* argv[] = {copy.data(), filterArg.data(), nullptr};
        pid_t child = -1;
        ASSERT_EQ(posix_spawn(&child, copy.c_str(), &actions, nullptr, argv, environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        const std::string log = ReadFile(output);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << log;
        EXPECT_NE(log.find("[  PASSED  ] 1 test."), std::string::npos) << log;
        return;
    }

    WriteSettings("");
    Session s;
    ASSERT_EQ(s.application.Main(), Application::StartResult::Started);
    EXPECT_TRUE(s.application.IsAlternateExecutable());
    s.host.position = {33, 44};
    s.application.Shutdown(true);
    EXPECT_FALSE(s.fake.loop.quitCode.has_value());
    EXPECT_EQ(IniReadString("Settings", "Windowx"), "33");
    EXPECT_TRUE(ProgramLog().ends_with("Kestrelon shut down\r\n"));
}

TEST(InstanceLock, OneInstancePerProgramDirectory) {
    TempProgramDirectory dir;
    TempProgramDirectory other;
    auto first = std::make_unique<InstanceLock>(dir.Path());
    EXPECT_FALSE(first->AnotherInstanceRuns());
    EXPECT_TRUE(InstanceLock(dir.Path()).AnotherInstanceRuns());
    // A lock that was refused does not free the first one.
    EXPECT_TRUE(InstanceLock(dir.Path()).AnotherInstanceRuns());
    EXPECT_FALSE(InstanceLock(other.Path()).AnotherInstanceRuns());
    first.reset();
    EXPECT_FALSE(InstanceLock(dir.Path()).AnotherInstanceRuns());
}

// Programs started while the lock is held (those launched with a connection) must not keep it
// after the program itself has ended.
TEST(InstanceLock, AStartedProgramDoesNotInheritTheLock) {
    TempProgramDirectory dir;
    auto lock = std::make_unique<InstanceLock>(dir.Path());
    ASSERT_FALSE(lock->AnotherInstanceRuns());
    std::string program = "/bin/sleep";
    std::string seconds = "60";
    char* argv[] = {program.data(), seconds.data(), nullptr};
    pid_t child = -1;
    ASSERT_EQ(posix_spawn(&child, program.c_str(), nullptr, nullptr, argv, environ), 0);
    lock.reset();
    EXPECT_FALSE(InstanceLock(dir.Path()).AnotherInstanceRuns());
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
}

// A process that dies holding the lock, by its own _exit or killed, leaves it free.
TEST(InstanceLock, ADeadInstanceLeavesTheLockFree) {
    TempProgramDirectory dir;
    for (const bool killed : {false, true}) {
        int toParent[2];
        int toChild[2];
        ASSERT_EQ(pipe(toParent), 0);
        ASSERT_EQ(pipe(toChild), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            InstanceLock lock(dir.Path());
            const char held = lock.AnotherInstanceRuns() ? 'n' : 'y';
            (void)!write(toParent[1], &held, 1);
            char go = 0;
            (void)!read(toChild[0], &go, 1);
            _exit(0);  // no destructor runs
        }
        close(toParent[1]);
        close(toChild[0]);
        char held = 0;
        ASSERT_EQ(read(toParent[0], &held, 1), 1);
        EXPECT_EQ(held, 'y');
        EXPECT_TRUE(InstanceLock(dir.Path()).AnotherInstanceRuns());
        if (killed) {
            kill(child, SIGKILL);
        } else {
            (void)!write(toChild[1], "x", 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        close(toParent[0]);
        close(toChild[1]);
        EXPECT_FALSE(InstanceLock(dir.Path()).AnotherInstanceRuns()) << "killed: " << killed;
    }
}

// A run with the dialing engine on the simulated service; the main timer is the controller's.
struct DialingSession : Session {
    explicit DialingSession(const std::string& rasDirectory)
        : service(rasDirectory, fake.clock, fake.clock) {
        host.runMainTimer = [this] { dialer.TimerTick(); };
        application.SetDialer(ras, dialer);
    }
    SimulatedRas service;
    RasFunc ras{service, app.lang};
    DialSessionController dialer{app, ras, app.profiles, app.SelProfile};
};

class StartupDialingTest : public StartupTest {
  protected:
    StartupDialingTest() { std::filesystem::create_directories(RasDir()); }
    std::string RasDir() const { return dir_.File("ras"); }
    void PhoneBook(const std::string& text) { WriteFile(RasDir() + "/rasphone.pbk", text); }
    static constexpr char kOneProfile[] = "[ConProf]\nnProfs=1\n1Name=Office\n1Con1=Office Line\n";
};

TEST_F(StartupDialingTest, TheFirstRunMakesAProfileOfEveryPhoneBookEntry) {
    PhoneBook("[Work]\nUserName=jdoe\nPassword=s3cret\n[Home]\n");
    DialingSession s(RasDir());
    ASSERT_EQ(s.application.Initialize(), Application::StartResult::Started);
    ASSERT_EQ(s.app.profiles.nProfs, 2);
    // Saved in name order.
    EXPECT_EQ(s.app.profiles.ConProf[1].Name, "Home");
    EXPECT_EQ(s.app.profiles.ConProf[2].Name, "Work");
    EXPECT_EQ(s.app.profiles.ConProf[2].Con1, "Work");
    EXPECT_EQ(s.app.profiles.ConProf[2].UName, "jdoe");
    EXPECT_EQ(UnscramblePassword(s.app.profiles.ConProf[2].Pass), "s3cret");
    EXPECT_EQ(IniReadString("ConProf", "2Pass"), s.app.profiles.ConProf[2].Pass);
}

TEST_F(StartupDialingTest, LaterRunsLoadTheProfilesAndDialAtStartWhenAsked) {
    PhoneBook("[Office Line]\nAnswer=silent\n");
    WriteSettings("StartDial=True\nLastCon=1\n", kOneProfile);
    DialingSession s(RasDir());
    s.host.loadMainWindow = [&] { s.app.SelProfile = 1; };
    ASSERT_EQ(s.application.Main(), Application::StartResult::Started);
    EXPECT_EQ(s.app.profiles.nProfs, 1);
    EXPECT_TRUE(s.dialer.Session().Dialing);
    EXPECT_NE(ProgramLog().find("Started dialing: Office"), std::string::npos);
}

TEST_F(StartupDialingTest, AConnectionFoundAtStartIsKeptInsteadOfDialing) {
    PhoneBook("[Office Line]\nDeviceMs=10\nAuthMs=10\n");
    WriteSettings("StartDial=True\n", kOneProfile);
    DialingSession s(RasDir());
    SimulatedRas otherProgram(RasDir(), s.fake.clock, s.fake.clock);
    RasHandle handle = 0;
    ASSERT_EQ(otherProgram.Dial(1, "Office Line", "", "", handle), 0U);
    s.fake.clock.Advance(100);
    s.host.loadMainWindow = [&] { s.app.SelProfile = 1; };

    ASSERT_EQ(s.application.Main(), Application::StartResult::Started);
    EXPECT_EQ(s.dialer.Session().ConnLine, 1);
    EXPECT_FALSE(s.dialer.Session().Dialing);
    const std::string log = ProgramLog();
    EXPECT_NE(log.find("Connection detected: Office"), std::string::npos);
    EXPECT_EQ(log.find("Started dialing"), std::string::npos);
}

TEST_F(StartupDialingTest, ShutDownWaitsForTheDialingLinesToGoBeforeItEnds) {
    PhoneBook("[Office Line]\nAnswer=silent\nHangUpMs=400\n");
    WriteSettings("", kOneProfile);
    DialingSession s(RasDir());
    ASSERT_EQ(s.application.Main(), Application::StartResult::Started);
    s.app.SelProfile = 1;
    s.dialer.StartDial(false, 0, false);
    const RasHandle call = s.dialer.Session().Line(1).Handle;
    ASSERT_NE(call, 0U);

    bool finished = false;
    s.application.Shutdown(true, [&] { finished = true; });
    EXPECT_FALSE(s.dialer.Session().Dialing);
    EXPECT_FALSE(finished);
    EXPECT_EQ(ProgramLog().find("Kestrelon shut down"), std::string::npos);
    std::uint32_t state = 0;
    EXPECT_EQ(s.ras.RasGetConnectStatus(call, state), 0U);

    s.fake.clock.Advance(300);
    EXPECT_FALSE(finished);
    s.fake.clock.Advance(200);
    EXPECT_TRUE(finished);
    EXPECT_NE(ProgramLog().find("Kestrelon shut down"), std::string::npos);
    EXPECT_EQ(s.fake.loop.quitCode, 0);
    EXPECT_EQ(s.ras.RasGetConnectStatus(call, state), kErrorInvalidHandle);
}

TEST_F(StartupDialingTest, ShutDownWhileOnlineSumsTheConnectionUpAndLeavesItRunning) {
    PhoneBook("[Office Line]\nDeviceMs=10\nAuthMs=10\n");
    WriteSettings("DialLog=Dial.log\n", kOneProfile);
    DialingSession s(RasDir());
    ASSERT_EQ(s.application.Main(), Application::StartResult::Started);
    s.app.SelProfile = 1;
    s.dialer.StartDial(false, 0, false);
    s.fake.clock.Advance(5000);
    ASSERT_EQ(s.dialer.Session().ConnLine, 1);

    bool finished = false;
    s.application.Shutdown(true, [&] { finished = true; });
    EXPECT_TRUE(finished);
    EXPECT_NE(ReadFile(dir_.File("Dial.log")).find("Connection Time: 0:0"), std::string::npos);
    // The connection belongs to the system: it outlives the program.
    EXPECT_EQ(s.service.EnumConnections().size(), 1U);
}

}  // namespace
}  // namespace kestrelon
