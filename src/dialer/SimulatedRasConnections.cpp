#include "dialer/SimulatedRasConnections.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <sstream>
#include <string_view>
#include <utility>

#include "core/AtomicFile.h"
#include "core/IniDocument.h"

namespace kestrelon {

namespace {

constexpr std::string_view kTableFileName = "rasconn.tbl";
constexpr std::string_view kLockFileName = "rasconn.lock";
constexpr std::string_view kNextHandleKey = "NextHandle ";
constexpr std::string_view kConnectionKey = "Connection ";

// Holds an flock on the lock file for one read or one read-modify-write of the table. The table
// itself is never locked: it is replaced by rename, so the lock must live on a file that stays.
class TableLock {
  public:
    TableLock(const std::string& path, int operation)
        : fd_(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        if (fd_ < 0) {
            return;
        }
        while (::flock(fd_, operation) != 0 && errno == EINTR) {
        }
    }
    ~TableLock() {
        if (fd_ >= 0) {
            ::close(fd_);  // closing releases the lock
        }
    }
    TableLock(const TableLock&) = delete;
    TableLock& operator=(const TableLock&) = delete;

  private:
    int fd_;
};

// Reads one unsigned decimal number from the front of the text and drops it and one blank.
std::optional<std::uint32_t> TakeNumber(std::string_view& text) {
    std::uint32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{}) {
        return std::nullopt;
    }
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    if (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    return value;
}

// "handle start drop entry", the drop being "-" for a connection that stays up.
std::optional<SharedConnection> ParseRow(std::string_view text) {
    SharedConnection row;
    const auto handle = TakeNumber(text);
    const auto start = TakeNumber(text);
    if (!handle || !start || *handle == 0) {
        return std::nullopt;
    }
    row.handle = *handle;
    row.startTick = *start;
    if (text.starts_with("- ")) {
        text.remove_prefix(2);
    } else {
        row.dropTick = TakeNumber(text);
        if (!row.dropTick) {
            return std::nullopt;
        }
    }
    row.entryName = std::string(text);
    return row;
}

}  // namespace

SimulatedRasConnections::SimulatedRasConnections(std::string directory, const Clock& clock)
    : tablePath_(directory + "/" + std::string(kTableFileName)),
      lockPath_(directory + "/" + std::string(kLockFileName)),
      clock_(clock) {}

SimulatedRasConnections::Table SimulatedRasConnections::Read() const {
    Table table;
    const auto content = ReadWholeFile(tablePath_);
    if (!content) {
        return table;
    }
    std::istringstream lines(*content);
    std::string line;
    while (std::getline(lines, line)) {
        std::string_view text(line);
        if (text.starts_with(kNextHandleKey)) {
            text.remove_prefix(kNextHandleKey.size());
            if (const auto next = TakeNumber(text); next && *next != 0) {
                table.nextHandle = *next;
            }
        } else if (text.starts_with(kConnectionKey)) {
            if (auto row = ParseRow(text.substr(kConnectionKey.size()))) {
                table.rows.push_back(std::move(*row));
            }
        }
    }
    return table;
}

bool SimulatedRasConnections::Write(const Table& table) const {
    std::ostringstream out;
    out << "# Connections of the simulated remote access service; written by the service.\n";
    out << kNextHandleKey << table.nextHandle << '\n';
    for (const SharedConnection& row : table.rows) {
        out << kConnectionKey << row.handle << ' ' << row.startTick << ' ';
        if (row.dropTick) {
            out << *row.dropTick;
        } else {
            out << '-';
        }
        out << ' ' << row.entryName << '\n';
    }
    return ReplaceFileAtomically(tablePath_, out.str());
}

bool SimulatedRasConnections::HasDropped(const SharedConnection& connection,
                                         std::uint32_t now) const {
    if (!connection.dropTick) {
        return false;
    }
    // Unsigned differences keep this right across the wrap of the 32-bit tick.
    const std::uint32_t lifetime = *connection.dropTick - connection.startTick;
    return now - connection.startTick >= lifetime;
}

bool SimulatedRasConnections::Prune(Table& table) const {
    const std::uint32_t now = clock_.TickCount();
    return std::erase_if(table.rows,
                         [&](const SharedConnection& row) { return HasDropped(row, now); }) > 0;
}

RasHandle SimulatedRasConnections::AllocateHandle() {
    TableLock lock(lockPath_, LOCK_EX);
    Table table = Read();
    const RasHandle handle = table.nextHandle;
    table.nextHandle = handle + 1 == 0 ? 1 : handle + 1;
    Prune(table);
    Write(table);
    return handle;
}

bool SimulatedRasConnections::AddIfEntryFree(const SharedConnection& connection) {
    TableLock lock(lockPath_, LOCK_EX);
    Table table = Read();
    Prune(table);
    const bool taken = std::ranges::any_of(table.rows, [&](const SharedConnection& row) {
        return EqualsIgnoreCase(row.entryName, connection.entryName);
    });
    if (taken) {
        return false;
    }
    table.rows.push_back(connection);
    return Write(table);
}

std::optional<SharedConnection> SimulatedRasConnections::Remove(RasHandle handle) {
    TableLock lock(lockPath_, LOCK_EX);
    Table table = Read();
    const bool pruned = Prune(table);
    std::optional<SharedConnection> removed;
    const auto it = std::ranges::find(table.rows, handle, &SharedConnection::handle);
    if (it != table.rows.end()) {
        removed = std::move(*it);
        table.rows.erase(it);
    }
    if (pruned || removed) {
        Write(table);
    }
    return removed;
}

std::vector<SharedConnection> SimulatedRasConnections::Live() const {
    Table table;
    {
        TableLock lock(lockPath_, LOCK_SH);
        table = Read();
    }
    Prune(table);
    return std::move(table.rows);
}

std::optional<SharedConnection> SimulatedRasConnections::Find(RasHandle handle) const {
    if (handle == 0) {
        return std::nullopt;
    }
    for (SharedConnection& row : Live()) {
        if (row.handle == handle) {
            return std::move(row);
        }
    }
    return std::nullopt;
}

}  // namespace kestrelon
