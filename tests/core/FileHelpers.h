#pragma once

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace kestrelon::test {

// Byte-exact file access for the tests, independent of the code under test.
inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

inline void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

inline bool FileExists(const std::string& path) {
    return std::ifstream(path).good();
}

// Permission bits of a file, -1 when it does not exist.
inline int FileMode(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<int>(info.st_mode & 07777) : -1;
}

// Counts how often a file in a directory received new content, either written in place or
// renamed over, from the kernel's own notifications; the code under test is not involved.
class FileWriteCounter {
  public:
    explicit FileWriteCounter(const std::string& directory)
        : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        if (fd_ >= 0) {
            ::inotify_add_watch(fd_, directory.c_str(), IN_MOVED_TO | IN_CLOSE_WRITE);
        }
    }
    ~FileWriteCounter() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileWriteCounter(const FileWriteCounter&) = delete;
    FileWriteCounter& operator=(const FileWriteCounter&) = delete;

    bool Ok() const { return fd_ >= 0; }

    // Writes to the named file since the last call.
    int Writes(const std::string& name) {
        int count = 0;
        alignas(inotify_event) char buffer[16 * (sizeof(inotify_event) + NAME_MAX + 1)];
        for (;;) {
            const ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n <= 0) {
                return count;
            }
            for (ssize_t at = 0; at < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if (event->len > 0 && name == event->name) {
                    ++count;
                }
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    }

  private:
    int fd_;
};

}  // namespace kestrelon::test
