#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kestrelon {

using ProcessId = long;

class ProcessLauncher {
  public:
    virtual ~ProcessLauncher() = default;
    // Starts a program detached from this one; nothing is interpreted by a shell.
    virtual std::optional<ProcessId> Start(const std::string& program,
                                           const std::vector<std::string>& arguments,
                                           const std::string& workingDirectory) = 0;
    // Asks a program to quit; one that has already ended is no error.
    virtual void RequestQuit(ProcessId id) = 0;
    virtual bool IsRunning(ProcessId id) = 0;
};

}  // namespace kestrelon
