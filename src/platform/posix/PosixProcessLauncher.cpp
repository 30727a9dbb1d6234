#include "platform/posix/PosixProcessLauncher.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kestrelon {

namespace {

// Owns a posix_spawn file-actions object for the duration of one start.
class SpawnActions {
  public:
    SpawnActions() { posix_spawn_file_actions_init(&actions_); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
    posix_spawn_file_actions_t* get() { return &actions_; }

  private:
    posix_spawn_file_actions_t actions_{};
};

class SpawnAttributes {
  public:
    SpawnAttributes() { posix_spawnattr_init(&attributes_); }
    ~SpawnAttributes() { posix_spawnattr_destroy(&attributes_); }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;
    posix_spawnattr_t* get() { return &attributes_; }

  private:
    posix_spawnattr_t attributes_{};
};

}  // namespace

void PosixProcessLauncher::ReapEndedChildren() {
    // Only our own children: another part of the program may wait for its own, and an ended
    // child's number is forgotten here before the system can give it to another process.
    for (auto it = children_.begin(); it != children_.end();) {
        if (::waitpid(static_cast<pid_t>(*it), nullptr, WNOHANG) != 0) {
            it = children_.erase(it);
        } else {
            ++it;
        }
    }
}

std::optional<ProcessId> PosixProcessLauncher::Start(const std::string& program,
                                                     const std::vector<std::string>& arguments,
                                                     const std::string& workingDirectory) {
    ReapEndedChildren();
    std::vector<std::string> argvStore;
    argvStore.reserve(arguments.size() + 1);
    argvStore.push_back(program);
    argvStore.insert(argvStore.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& a : argvStore) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);

    SpawnActions actions;
    if (!workingDirectory.empty()) {
        posix_spawn_file_actions_addchdir_np(actions.get(), workingDirectory.c_str());
    }
    posix_spawn_file_actions_addopen(actions.get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    SpawnAttributes attributes;
    // A new session: the program outlives Kestrelon and gets none of its terminal's signals.
    posix_spawnattr_setflags(attributes.get(), POSIX_SPAWN_SETSID);

    pid_t pid = 0;
    if (posix_spawnp(&pid, program.c_str(), actions.get(), attributes.get(), argv.data(),
                     environ) != 0) {
        return std::nullopt;
    }
    children_.insert(pid);
    return pid;
}

void PosixProcessLauncher::RequestQuit(ProcessId id) {
    ReapEndedChildren();
    if (children_.count(id) != 0) {
        ::kill(static_cast<pid_t>(id), SIGTERM);
    }
}

bool PosixProcessLauncher::IsRunning(ProcessId id) {
    ReapEndedChildren();
    return children_.count(id) != 0;
}

}  // namespace kestrelon
