#include "core/CheckVersion.h"

#include "core/AppCore.h"
#include "core/INIio.h"
#include "core/ProgramDirectory.h"

namespace kestrelon {

void SelectLanguage(AppCore& app, const FirstRunSteps& steps) {
    std::vector<std::string> entries{"Default (English)"};
    for (auto& name : FindLanguages(ProgramDirectory())) {
        entries.push_back(std::move(name));
    }
    const int chosen = steps.chooseLanguage ? steps.chooseLanguage(entries) : 0;
    app.settings.Language =
        chosen > 0 && chosen < static_cast<int>(entries.size()) ? entries[chosen] : std::string();
    app.settings.LanguageInUse = app.settings.Language;
    app.lang.SetLanguageInUse(app.settings.LanguageInUse);
}

bool CheckVersion(AppCore& app, const FirstRunSteps& steps) {
    const std::string stored = IniReadString("settings", "version");
    const std::string current = ProgramVersionText();
    if (stored != current) {
        IniWrite("Settings", "Version", current);
    }
    const bool firstRun = stored.empty();
    AppSettings& s = app.settings;
    if (firstRun) {
        if (steps.createProfilesFromPhoneBook) {
            steps.createProfilesFromPhoneBook();
        }
        app.platform.loop.ProcessEvents();
        s.ProgLog = "Program.log";
        s.DialLog = "Dial.log";
        s.ErrorLog = "Error.log";
        s.DialDelay = 2000;
        s.DynDelay = true;
        s.WaitInvalidate = true;
        s.MaxLogSize = 50;
        IniWrite("Settings", "LastCon", 1);
        SelectLanguage(app, steps);
        SaveSettings(s);
    }
    if (LeadingNumber(stored) < 0.95) {
        s.EmailProg = app.platform.mailClient.DefaultMailCommand();
        s.EmailInterval = 5;
        SaveSettings(s);
    }
    return firstRun;
}

}  // namespace kestrelon
