#pragma once

#include <set>

#include "platform/ProcessLauncher.h"

namespace kestrelon {

// Starts programs detached in their own session, without a shell; asks them to quit with
// SIGTERM. Ended children are reaped so that none is left as a zombie; only programs it started
// and that still run are ever signalled.
class PosixProcessLauncher : public ProcessLauncher {
  public:
    std::optional<ProcessId> Start(const std::string& program,
                                   const std::vector<std::string>& arguments,
                                   const std::string& workingDirectory) override;
    void RequestQuit(ProcessId id) override;
    bool IsRunning(ProcessId id) override;

  private:
    void ReapEndedChildren();

    std::set<ProcessId> children_;  // started here and not yet reaped
};

}  // namespace kestrelon
