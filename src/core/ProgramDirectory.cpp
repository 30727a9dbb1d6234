#include "core/ProgramDirectory.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace kestrelon {

namespace {

std::string& CurrentDirectorySetting() {
    static std::string directory;
    return directory;
}

bool IsWritableDirectory(const std::filesystem::path& dir) {
    std::error_code ec;
    return std::filesystem::is_directory(dir, ec) && access(dir.c_str(), W_OK) == 0;
}

std::filesystem::path UserDataDirectory() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg != '\0') {
        return std::filesystem::path(xdg) / "kestrelon";
    }
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home != nullptr ? home : "/tmp") / ".local/share/kestrelon";
}

}  // namespace

std::string ExecutablePath() {
    std::error_code ec;
    auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : path.string();
}

std::string ResolveProgramDirectory() {
    std::error_code ec;
    if (const char* home = std::getenv("KESTRELON_HOME"); home != nullptr && *home != '\0') {
        std::filesystem::create_directories(home, ec);
        return std::filesystem::absolute(home, ec).string();
    }
    const std::filesystem::path exeDir = std::filesystem::path(ExecutablePath()).parent_path();
    if (!exeDir.empty() && IsWritableDirectory(exeDir)) {
        return exeDir.string();
    }
    const auto dataDir = UserDataDirectory();
    std::filesystem::create_directories(dataDir, ec);
    return dataDir.string();
}

void SetProgramDirectory(const std::string& directory) {
    CurrentDirectorySetting() = directory;
}

const std::string& ProgramDirectory() {
    auto& dir = CurrentDirectorySetting();
    if (dir.empty()) {
        dir = ResolveProgramDirectory();
    }
    return dir;
}

std::string AddBackslash(const std::string& path) {
    // Named after the original routine; appends this platform's separator.
    if (!path.empty() && path.back() == '/') {
        return path;
    }
    return path + '/';
}

std::string InProgramDirectory(const std::string& fileName) {
    if (!fileName.empty() && fileName.front() == '/') {
        return fileName;
    }
    return AddBackslash(ProgramDirectory()) + fileName;
}

}  // namespace kestrelon
