#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/CheckVersion.h"
#include "core/InstanceLock.h"

namespace kestrelon {

class AppCore;

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

// Start-up and shut-down of the whole program.
class Application {
  public:
    Application(AppCore& app, ApplicationHost& host);
    ~Application();

    enum class StartResult { Started, AnotherInstanceRuns };
    // The whole start-up sequence, up to the running event loop.
    StartResult Main();
    // The first half: directory, instance, platform, loading.
    StartResult Initialize();
    // Saves the window position and the selected profile, logs the end and removes the icons;
    // with endProcess the event loop ends (unless this is the alternate executable).
    void Shutdown(bool endProcess);

    bool IsAlternateExecutable() const { return alternateExecutable_; }
    bool FirstRun() const { return firstRun_; }

  private:
    AppCore& app_;
    ApplicationHost& host_;
    std::unique_ptr<InstanceLock> lock_;
    bool alternateExecutable_ = false;
    bool firstRun_ = false;
};

// True when the executable's file name (without extension) begins with "Krest".
bool IsAlternateExecutableName(const std::string& executablePath);

}  // namespace kestrelon
