#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kestrelon {

class AppCore;

// What the version check needs from the rest of the program on a first run.
struct FirstRunSteps {
    // Creates one connection profile per phone-book entry and saves them.
    std::function<void()> createProfilesFromPhoneBook;
    // Shows the language chooser over these entries and returns the index chosen.
    std::function<int(const std::vector<std::string>& entries)> chooseLanguage;
};

// The version and first-run check: records the program version, fills a new file with the
// defaults, lets the user choose the language, and sets the mail program for files written by
// versions before 0.95. Returns true on the very first run.
bool CheckVersion(AppCore& app, const FirstRunSteps& steps);

// The first-run language choice: "Default (English)" first, then the language files found.
void SelectLanguage(AppCore& app, const FirstRunSteps& steps);

}  // namespace kestrelon
