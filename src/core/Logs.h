#pragma once

#include <string>
#include <string_view>

namespace kestrelon {

struct AppSettings;
class Clock;
class MessageService;

enum LogKind { kProgramLog = 0, kDialLog = 1, kErrorLog = 2 };

// The program, dial and error logs: time-stamped lines, each file kept below MaxLogSize
// kilobytes by cutting it to its newest 90 % at a line start.
class Logs {
  public:
    Logs(const AppSettings& settings, const Clock& clock, MessageService& messages)
        : settings_(settings), clock_(clock), messages_(messages) {}

    // Appends "dd/mm/yy hh:mm:ss", two blanks and the message; an empty message asks for a
    // separator line, written only when the file does not already end with an empty line.
    void WriteLog(std::string_view message, LogKind kind);

    // The path of a log; "" when that log is switched off.
    std::string LogPath(LogKind kind) const;

  private:
    bool TrimToLimit(const std::string& path);
    void ReportError(const std::string& fileName);

    const AppSettings& settings_;
    const Clock& clock_;
    MessageService& messages_;
};

}  // namespace kestrelon
