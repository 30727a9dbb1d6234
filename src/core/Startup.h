#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/CheckVersion.h"
#include "core/InstanceLock.h"

namespace kestrelon {

class AppCore;
class DialSessionController;
class RasFunc;

// The window side of start-up and shut-down, implemented by the user interface.
class ApplicationHost {
  public:
    virtual ~ApplicationHost() = default;
    virtual int ChooseLanguage(const std::vector<std::string>& entries) = 0;
    virtual void ShowSplash() = 0;
    // Loads the main window: positions it, adds the tray icon, selects the start-up profile.
    virtual void LoadMainWindow() = 0;
    virtual void RunMainTimer() = 0;
    virtual void ShowMainWindow() = 0;
    struct Position {
        double x = 0;
        double y = 0;
    };
    virtual Position MainWindowPosition() const = 0;
    // 0-based index of the selected entry of the profile list, -1 when none.
    virtual int SelectedProfileIndex() const = 0;
    virtual void CloseNetworkControls() = 0;
    virtual void RemoveTrayIcons() = 0;
};

// The start-up and shut-down steps that belong to other parts of the program; empty ones are
// skipped.
struct PartSteps {
    std::function<void()> loadTasks;                // the Connection Manager's task table
    std::function<void()> importChargeProfiles;     // loose tariff files, then the name list
    std::function<void()> recordRunningConnection;  // the statistics record of a connection
};

// Start-up and shut-down of the whole program.
class Application {
  public:
    Application(AppCore& app, ApplicationHost& host);
    ~Application();

    // The dialing engine; without one, start-up and shut-down skip the dialing steps.
    void SetDialer(RasFunc& ras, DialSessionController& controller);
    void SetPartSteps(PartSteps steps) { parts_ = std::move(steps); }

    enum class StartResult { Started, AnotherInstanceRuns };
    // The whole start-up sequence, up to the running event loop.
    StartResult Main();
    // The first half: directory, instance, platform, loading.
    StartResult Initialize();
    // Saves the window position and the selected profile, logs the end and removes the icons;
    // with endProcess the event loop ends (unless this is the alternate executable). Lines
    // still dialing are hung up first and given time to go, so the end may come after the
    // call returns; finished runs once it has.
    void Shutdown(bool endProcess, std::function<void()> finished = {});

    bool IsAlternateExecutable() const { return alternateExecutable_; }
    bool FirstRun() const { return firstRun_; }

  private:
    void FinishShutdown(bool endProcess);

    AppCore& app_;
    ApplicationHost& host_;
    std::unique_ptr<InstanceLock> lock_;
    bool alternateExecutable_ = false;
    bool firstRun_ = false;
    RasFunc* ras_ = nullptr;
    DialSessionController* dialer_ = nullptr;
    bool shuttingDown_ = false;
    PartSteps parts_;
};

// True when the executable's file name (without extension) begins with "Krest".
bool IsAlternateExecutableName(const std::string& executablePath);

}  // namespace kestrelon
