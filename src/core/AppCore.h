#pragma once

#include "conman/ScheduledTask.h"
#include "core/AppSettings.h"
#include "core/Language.h"
#include "core/Logs.h"
#include "core/Platform.h"
#include "profiles/ConnectionProfile.h"

namespace kestrelon {

// The process-wide records of one run and the services that reach them. One instance lives
// from start-up to exit; windows and modules get it by reference.
class AppCore {
  public:
    explicit AppCore(Platform& platform)
        : platform(platform), logs(settings, platform.clock, platform.messages) {}
    AppCore(const AppCore&) = delete;
    AppCore& operator=(const AppCore&) = delete;

    std::string LangText(std::string_view key, std::string_view englishDefault = {},
                         std::string_view parameter = {}) {
        return lang.LangText(key, englishDefault, parameter);
    }
    void WriteLog(std::string_view message, LogKind kind) { logs.WriteLog(message, kind); }
    void PlaySoundEvent(int n) { kestrelon::PlaySoundEvent(settings.sounds, n, platform.sound); }

    Platform& platform;
    AppSettings settings;
    TextLookup lang;
    Logs logs;
    ProfileTable profiles;
    int SelProfile = 0;  // the main window's selected profile, 1-based; 0 = none
    TaskTable tasks;
};

}  // namespace kestrelon
