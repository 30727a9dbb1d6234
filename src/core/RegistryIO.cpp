#include "core/RegistryIO.h"

#include <cstdlib>
#include <sstream>
#include <vector>

#include "core/AtomicFile.h"
#include "core/IniDocument.h"

namespace kestrelon {

namespace {

std::vector<std::string> SplitPaths(const std::string& list, const std::string& fallback) {
    std::vector<std::string> out;
    std::stringstream in(list.empty() ? fallback : list);
    std::string item;
    while (std::getline(in, item, ':')) {
        if (!item.empty()) {
            out.push_back(item);
        }
    }
    return out;
}

std::string FirstDesktopId(const std::string& value) {
    const auto semicolon = value.find(';');
    return Trim(value.substr(0, semicolon));
}

// Drops the desktop-entry field codes, which stand for files or addresses to open.
std::string StripFieldCodes(const std::string& exec) {
    std::string out;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        if (exec[i] == '%' && i + 1 < exec.size()) {
            if (exec[i + 1] == '%') {
                out += '%';
            }
            ++i;
            continue;
        }
        out += exec[i];
    }
    return Trim(out);
}

}  // namespace

std::string DefaultMailCommand(const std::function<std::string(const char*)>& getEnv) {
    const std::string home = getEnv("HOME");
    const std::string configHome =
        getEnv("XDG_CONFIG_HOME").empty() ? home + "/.config" : getEnv("XDG_CONFIG_HOME");
    const std::string dataHome =
        getEnv("XDG_DATA_HOME").empty() ? home + "/.local/share" : getEnv("XDG_DATA_HOME");
    const auto configDirs = SplitPaths(getEnv("XDG_CONFIG_DIRS"), "/etc/xdg");
    auto dataDirs = SplitPaths(getEnv("XDG_DATA_DIRS"), "/usr/local/share:/usr/share");
    dataDirs.insert(dataDirs.begin(), dataHome);

    // The lists in order of precedence; the first one naming a handler wins.
    std::vector<std::string> lists{configHome + "/mimeapps.list"};
    for (const auto& dir : configDirs) {
        lists.push_back(dir + "/mimeapps.list");
    }
    for (const auto& dir : dataDirs) {
        lists.push_back(dir + "/applications/mimeapps.list");
    }

    std::string desktopId;
    for (const auto& list : lists) {
        if (auto content = ReadWholeFile(list)) {
            auto value =
                IniDocument::Parse(*content).Get("Default Applications", "x-scheme-handler/mailto");
            if (value && !FirstDesktopId(*value).empty()) {
                desktopId = FirstDesktopId(*value);
                break;
            }
        }
    }
    if (desktopId.empty()) {
        return {};
    }
    for (const auto& dir : dataDirs) {
        if (auto content = ReadWholeFile(dir + "/applications/" + desktopId)) {
            if (auto exec = IniDocument::Parse(*content).Get("Desktop Entry", "Exec")) {
                return StripFieldCodes(*exec);
            }
        }
    }
    return {};
}

std::string DesktopMailClientLocator::DefaultMailCommand() {
    return kestrelon::DefaultMailCommand([](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr ? std::string(value) : std::string();
    });
}

}  // namespace kestrelon
