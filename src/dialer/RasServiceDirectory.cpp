#include "dialer/RasServiceDirectory.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace kestrelon {

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

std::string HomeDirectory() {
    std::string home = Environment("HOME");
    if (!home.empty()) {
        return home;
    }
    // Started without a login environment: ask the user database.
    const passwd* user = ::getpwuid(::getuid());
    return user != nullptr && user->pw_dir != nullptr ? std::string(user->pw_dir) : std::string();
}

}  // namespace

std::string RasServiceDirectory() {
    std::string directory = Environment("KESTRELON_RAS_DIR");
    if (directory.empty()) {
        std::string config = Environment("XDG_CONFIG_HOME");
        if (config.empty()) {
            const std::string home = HomeDirectory();
            if (home.empty()) {
                return "";
            }
            config = home + "/.config";
        }
        directory = config + "/kestrelon-ras";
    }
    std::error_code ec;
    std::filesystem::create_directories(directory, ec);
    return directory;
}

}  // namespace kestrelon
