#pragma once

#include <string>

namespace kestrelon {

// Holds an exclusive lock on a file in the program directory for as long as it lives. The lock
// is the kernel's, so it goes away with the process, also when the process crashes.
class InstanceLock {
  public:
    explicit InstanceLock(const std::string& directory);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when another process holds the lock, i.e. another instance runs. When no lock can be
    // taken at all (a read-only directory) the program runs without one.
    bool AnotherInstanceRuns() const { return heldElsewhere_; }

  private:
    int fd_ = -1;
    bool heldElsewhere_ = false;
};

}  // namespace kestrelon
