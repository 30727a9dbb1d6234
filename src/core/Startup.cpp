#include "core/Startup.h"

#include <unistd.h>

#include <filesystem>

#include "core/AppCore.h"
#include "core/INIio.h"
#include "core/ProgramDirectory.h"
#include "dialer/DialSessionController.h"
#include "dialer/RasFunc.h"
#include "profiles/ConProfMod.h"
#include "profiles/ProgramProfileReferences.h"

namespace kestrelon {

bool IsAlternateExecutableName(const std::string& executablePath) {
    const std::string stem = std::filesystem::path(executablePath).stem().string();
    return stem.substr(0, 5) == "Krest";
}

Application::Application(AppCore& app, ApplicationHost& host) : app_(app), host_(host) {}

Application::~Application() = default;

void Application::SetDialer(RasFunc& ras, DialSessionController& controller) {
    ras_ = &ras;
    dialer_ = &controller;
}

Application::StartResult Application::Initialize() {
    const std::string& directory = ProgramDirectory();
    if (::chdir(directory.c_str()) != 0) {
        // Every file is still found through the program directory's full path.
    }
    lock_ = std::make_unique<InstanceLock>(directory);
    if (lock_->AnotherInstanceRuns()) {
        return StartResult::AnotherInstanceRuns;
    }
    alternateExecutable_ = IsAlternateExecutableName(ExecutablePath());

    InitSoundEvents(app_.settings.sounds);
    LoadSettings(app_.settings);
    app_.settings.LanguageInUse = app_.settings.Language;
    app_.lang.SetLanguageInUse(app_.settings.LanguageInUse);

    FirstRunSteps steps;
    steps.chooseLanguage = [this](const std::vector<std::string>& entries) {
        return host_.ChooseLanguage(entries);
    };
    if (ras_ != nullptr) {
        steps.createProfilesFromPhoneBook = [this] {
            std::vector<FirstRunEntry> entries;
            for (const std::string& name : ras_->EnumRasEntries()) {
                const RasDialParams params = ras_->GetEntryDialParams(name);
                entries.push_back({name, params.userName, params.password});
            }
            ProfileReferences refs = ProfileReferencesOf(app_, dialer_);
            CreateProfilesFromPhoneBook(app_.profiles, refs, entries);
            app_.platform.loop.ProcessEvents();
        };
    }
    firstRun_ = CheckVersion(app_, steps);
    if (parts_.loadTasks) {
        parts_.loadTasks();
    }
    if (app_.profiles.nProfs == 0) {
        LoadProfiles(app_.profiles);
    }
    if (parts_.importChargeProfiles) {
        parts_.importChargeProfiles();
    }
    return StartResult::Started;
}

Application::StartResult Application::Main() {
    if (Initialize() == StartResult::AnotherInstanceRuns) {
        return StartResult::AnotherInstanceRuns;
    }
    host_.ShowSplash();
    app_.platform.loop.ProcessEvents();
    app_.WriteLog("", kProgramLog);
    app_.WriteLog(app_.LangText("krstart", "Kestrelon started"), kProgramLog);
    app_.PlaySoundEvent(kSoundStartup);
    host_.LoadMainWindow();
    host_.RunMainTimer();
    // Without a notification area the window is the only way back to the program.
    if (!app_.settings.StartHidden || !app_.platform.tray.IsAvailable()) {
        host_.ShowMainWindow();
    }
    // A connection found by the first heartbeat is kept instead of dialing anew.
    if (dialer_ != nullptr && app_.settings.StartDial && dialer_->Session().ConnLine == -1) {
        dialer_->StartDial(true, 0, false);
    }
    return StartResult::Started;
}

void Application::Shutdown(bool endProcess, std::function<void()> finished) {
    if (shuttingDown_) {
        return;  // still waiting for the lines of an earlier request
    }
    {
        IniBatch file;
        const auto position = host_.MainWindowPosition();
        file.Write("Settings", "Windowx", IniNumberText(position.x));
        file.Write("Settings", "Windowy", IniNumberText(position.y));
        file.Write("Settings", "LastCon", host_.SelectedProfileIndex() + 1);
    }
    if (parts_.recordRunningConnection) {
        parts_.recordRunningConnection();
    }
    host_.CloseNetworkControls();
    if (dialer_ != nullptr) {
        if (dialer_->Session().ConnLine > 0) {
            dialer_->LogConnectionSummary();
        }
        shuttingDown_ = true;
        dialer_->HangUpDialingLines([this, endProcess, finished = std::move(finished)] {
            shuttingDown_ = false;
            FinishShutdown(endProcess);
            if (finished) {
                finished();
            }
        });
        return;
    }
    FinishShutdown(endProcess);
    if (finished) {
        finished();
    }
}

void Application::FinishShutdown(bool endProcess) {
    app_.WriteLog(app_.LangText("krstop", "Kestrelon shut down"), kProgramLog);
    app_.platform.loop.ProcessEvents();
    app_.PlaySoundEvent(kSoundShutdown);
    host_.RemoveTrayIcons();
    if (endProcess && !alternateExecutable_) {
        app_.platform.loop.Quit(0);
    }
}

}  // namespace kestrelon
