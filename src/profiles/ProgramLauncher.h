#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/ProcessLauncher.h"

namespace kestrelon {

struct AppSettings;
struct ProfileTable;

// Splits a command line into the program and its arguments the way the desktop's launchers do:
// blanks separate words; double quotes group words, and inside them a backslash escapes only
// '"', '\\', '$' and '`'; single quotes group words literally; outside quotes a backslash
// takes the next character as it is. No shell runs, so nothing else has a meaning.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// The programs started with a connection and the ones ended with it.
class ProgramLauncher {
  public:
    static constexpr std::size_t kMaxLaunchedThreads = 32;

    ProgramLauncher(const AppSettings& settings, const ProfileTable& profiles,
                    ProcessLauncher& processes);

    // Starts the programs of profile p (the global list while "GlobalLaunchApps" is on), one
    // after the other without waiting; records the ones to be ended at disconnect.
    void LaunchPrograms(int p);
    // Asks every recorded program to quit and empties the record.
    void CloseLaunchedPrograms();
    // Starts one command line detached in the program directory; 0 when it cannot be started.
    ProcessId StartProgram(const std::string& commandLine);
    // Asks the program to quit; one that has already ended is left alone.
    void CloseThreadWindows(ProcessId id);

    const std::vector<ProcessId>& LaunchedThreads() const { return launchedThreads_; }

  private:
    const AppSettings& settings_;
    const ProfileTable& profiles_;
    ProcessLauncher& processes_;
    std::vector<ProcessId> launchedThreads_;
};

}  // namespace kestrelon
