#include "core/Logs.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <vector>

#include "core/AppSettings.h"
#include "core/ProgramDirectory.h"
#include "platform/Clock.h"
#include "platform/MessageService.h"

namespace kestrelon {

namespace {

std::string TimeStamp(const LocalTime& t) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d/%02d/%02d %02d:%02d:%02d", t.day, t.month,
                  t.year % 100, t.hour, t.minute, t.second);
    return buffer;
}

// -1 when the file does not exist.
long long FileSize(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<long long>(info.st_size) : -1;
}

}  // namespace

std::string Logs::LogPath(LogKind kind) const {
    const std::string& name = kind == kProgramLog ? settings_.ProgLog
                              : kind == kDialLog  ? settings_.DialLog
                                                  : settings_.ErrorLog;
    return name.empty() ? std::string() : InProgramDirectory(name);
}

void Logs::ReportError(const std::string& fileName) {
    messages_.Information("Error while writing to " + fileName, "Kestrelon 2000");
}

bool Logs::TrimToLimit(const std::string& path) {
    const long long limit = static_cast<long long>(settings_.MaxLogSize) * 1024;
    const long long length = FileSize(path);
    if (length <= limit) {
        return true;
    }
    const auto keep = static_cast<long long>(std::llround(static_cast<double>(limit) * 0.9));
    std::vector<char> tail(static_cast<std::size_t>(keep));
    {
        std::ifstream in(path, std::ios::binary);
        in.seekg(length - keep);
        if (!in.read(tail.data(), keep)) {
            return false;
        }
    }
    std::size_t start = 0;
    for (std::size_t i = 0; i < tail.size(); ++i) {
        if (tail[i] == '\n') {
            if (i + 1 < tail.size()) {
                start = i + 1;
            }
            break;
        }
    }
    std::remove(path.c_str());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(tail.data() + start, static_cast<std::streamsize>(tail.size() - start));
    return static_cast<bool>(out);
}

void Logs::WriteLog(std::string_view message, LogKind kind) {
    const std::string path = LogPath(kind);
    if (path.empty()) {
        return;
    }
    if (!TrimToLimit(path)) {
        ReportError(path);
        return;
    }
    if (!message.empty()) {
        std::ofstream out(path, std::ios::binary | std::ios::app);
        out << TimeStamp(clock_.Now()) << "  " << message << "\r\n";
        out.flush();
        if (!out) {
            ReportError(path);
        }
        return;
    }
    // A separator only after a line that is not itself empty.
    const long long length = FileSize(path);
    if (length < 3) {
        return;
    }
    char third = 0;
    {
        std::ifstream in(path, std::ios::binary);
        in.seekg(length - 3);
        in.get(third);
    }
    if (third != '\n') {
        std::ofstream out(path, std::ios::binary | std::ios::app);
        out << "\r\n";
        if (!out) {
            ReportError(path);
        }
    }
}

}  // namespace kestrelon
