#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "dialer/RasBackend.h"
#include "platform/Clock.h"

namespace kestrelon {

// One connection that is up, as every process sees it.
struct SharedConnection {
    RasHandle handle = 0;
    std::string entryName;
    std::uint32_t startTick = 0;            // tick count when it came up
    std::optional<std::uint32_t> dropTick;  // tick count when the line drops by itself
};

// The simulated service's table of the connections that are up, shared by all processes that
// use one service directory. It lives in a file there: every query reads it anew under a
// shared flock, every change rewrites it whole under an exclusive one and replaces it
// atomically. Times are the clock's tick count, which on Linux is the same for all processes
// (CLOCK_MONOTONIC), so a connection made by one process keeps its start and drop moment in
// every other. The table also holds the counter that makes handles unique system-wide.
class SimulatedRasConnections {
  public:
    SimulatedRasConnections(std::string directory, const Clock& clock);

    // A handle no process has had from this table before.
    RasHandle AllocateHandle();
    // Adds the connection unless its entry is already connected; false then.
    bool AddIfEntryFree(const SharedConnection& connection);
    // Removes the connection and returns it; nothing when it was not up.
    std::optional<SharedConnection> Remove(RasHandle handle);

    // The connections that are up now, in the order they came up.
    std::vector<SharedConnection> Live() const;
    std::optional<SharedConnection> Find(RasHandle handle) const;

    const std::string& TablePath() const { return tablePath_; }

  private:
    struct Table {
        RasHandle nextHandle = 1;
        std::vector<SharedConnection> rows;
    };

    Table Read() const;
    bool Write(const Table& table) const;
    bool HasDropped(const SharedConnection& connection, std::uint32_t now) const;
    // Drops the connections whose line has dropped by now; true when there were any.
    bool Prune(Table& table) const;

    std::string tablePath_;
    std::string lockPath_;
    const Clock& clock_;
};

}  // namespace kestrelon
