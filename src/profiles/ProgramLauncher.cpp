#include "profiles/ProgramLauncher.h"

#include <algorithm>

#include "core/AppSettings.h"
#include "core/ProgramDirectory.h"
#include "profiles/ConnectionProfile.h"

namespace kestrelon {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    char quote = 0;
    for (std::size_t i = 0; i < commandLine.size(); ++i) {
        const char c = commandLine[i];
        if (quote == '\'') {
            if (c == '\'') {
                quote = 0;
            } else {
                word += c;
            }
        } else if (quote == '"') {
            if (c == '"') {
                quote = 0;
            } else if (c == '\\' && i + 1 < commandLine.size() &&
                       std::string_view("\"\\$`").find(commandLine[i + 1]) !=
                           std::string_view::npos) {
                word += commandLine[++i];
            } else {
                word += c;
            }
        } else if (IsBlank(c)) {
            if (inWord) {
                words.push_back(std::move(word));
                word.clear();
                inWord = false;
            }
        } else {
            inWord = true;
            if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '\\' && i + 1 < commandLine.size()) {
                word += commandLine[++i];
            } else {
                word += c;
            }
        }
    }
    // An unclosed quote runs to the end of the line.
    if (inWord) {
        words.push_back(std::move(word));
    }
    return words;
}

ProgramLauncher::ProgramLauncher(const AppSettings& settings, const ProfileTable& profiles,
                                 ProcessLauncher& processes)
    : settings_(settings), profiles_(profiles), processes_(processes) {}

void ProgramLauncher::LaunchPrograms(int p) {
    if (settings_.GlobalLaunchApps) {
        p = 0;
    }
    if (p < 0 || p > profiles_.nProfs) {
        return;
    }
    const ConnectionProfile& profile = profiles_.ConProf[static_cast<std::size_t>(p)];
    const int count = std::min(profile.nLaunchApps, ConnectionProfile::kMaxLaunchApps);
    for (int j = 1; j <= count; ++j) {
        const LaunchApp& app = profile.LaunchApps[static_cast<std::size_t>(j)];
        const ProcessId t = StartProgram(app.LaunchAppCL);
        // Beyond the table's size a marked program just stays open.
        if (t != 0 && app.LaunchAppClose && launchedThreads_.size() < kMaxLaunchedThreads) {
            launchedThreads_.push_back(t);
        }
    }
}

void ProgramLauncher::CloseLaunchedPrograms() {
    for (const ProcessId t : launchedThreads_) {
        CloseThreadWindows(t);
    }
    launchedThreads_.clear();
}

ProcessId ProgramLauncher::StartProgram(const std::string& commandLine) {
    const std::vector<std::string> words = SplitCommandLine(commandLine);
    if (words.empty()) {
        return 0;
    }
    const std::vector<std::string> arguments(words.begin() + 1, words.end());
    const auto id = processes_.Start(words.front(), arguments, ProgramDirectory());
    return id ? *id : 0;
}

void ProgramLauncher::CloseThreadWindows(ProcessId id) {
    if (id != 0 && processes_.IsRunning(id)) {
        processes_.RequestQuit(id);
    }
}

}  // namespace kestrelon
