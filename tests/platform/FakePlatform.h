#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/Platform.h"
#include "platform/FakeClock.h"

namespace kestrelon {

// Fakes of the platform services. Each records what it was asked so tests can check it, and
// offers plain members to steer its answers.

class FakeSoundPlayer : public SoundPlayer {
  public:
    struct Played {
        std::string path;
        bool keepPlaying = false;
        bool operator==(const Played&) const = default;
    };
    void PlayFile(const std::string& path, bool keepPlaying) override {
        played.push_back({path, keepPlaying});
    }
    void Beep() override { ++beeps; }

    std::vector<Played> played;
    int beeps = 0;
};

class FakeTrayService : public TrayService {
  public:
    struct Icon {
        IconImage icon;
        std::string tip;
    };
    bool IsAvailable() const override { return available; }
    void Add(int id, const IconImage& icon, const std::string& tip) override {
        ++adds;
        icons[id] = {icon, tip};
    }
    void Modify(int id, const IconImage& icon, const std::string& tip) override {
        ++modifies;
        icons[id] = {icon, tip};
    }
    void Delete(int id) override {
        ++deletes;
        icons.erase(id);
    }
    void SetMouseHandler(std::function<void(int id, TrayMouse)> handler) override {
        mouseHandler = std::move(handler);
    }
    // Acts as the user's mouse on an icon.
    void Mouse(int id, TrayMouse what) {
        if (mouseHandler) {
            mouseHandler(id, what);
        }
    }

    bool available = true;
    std::map<int, Icon> icons;
    int adds = 0;
    int modifies = 0;
    int deletes = 0;
    std::function<void(int, TrayMouse)> mouseHandler;
};

class FakeShell : public Shell {
  public:
    bool Open(const std::string& target) override {
        opened.push_back(target);
        return openSucceeds;
    }

    std::vector<std::string> opened;
    bool openSucceeds = true;
};

class FakeProcessLauncher : public ProcessLauncher {
  public:
    struct Started {
        std::string program;
        std::vector<std::string> arguments;
        std::string workingDirectory;
        ProcessId id = 0;
    };
    std::optional<ProcessId> Start(const std::string& program,
                                   const std::vector<std::string>& arguments,
                                   const std::string& workingDirectory) override {
        if (!startSucceeds) {
            started.push_back({program, arguments, workingDirectory, 0});
            return std::nullopt;
        }
        const ProcessId id = nextId++;
        started.push_back({program, arguments, workingDirectory, id});
        running.insert(id);
        return id;
    }
    void RequestQuit(ProcessId id) override {
        quitRequests.push_back(id);
        if (quitEndsProcess) {
            running.erase(id);
        }
    }
    bool IsRunning(ProcessId id) override { return running.count(id) != 0; }
    // The program ends by itself.
    void End(ProcessId id) { running.erase(id); }

    std::vector<Started> started;
    std::vector<ProcessId> quitRequests;
    std::set<ProcessId> running;
    bool startSucceeds = true;
    bool quitEndsProcess = true;
    ProcessId nextId = 4711;
};

class FakePowerOff : public PowerOff {
  public:
    PowerOffResult RequestPowerOff() override {
        ++requests;
        return result;
    }

    int requests = 0;
    PowerOffResult result{PowerOffResult::Outcome::Requested, ""};
};

class FakeMailClientLocator : public MailClientLocator {
  public:
    std::string DefaultMailCommand() override {
        ++calls;
        return command;
    }

    std::string command;
    int calls = 0;
};

class FakeMessageService : public MessageService {
  public:
    struct Message {
        std::string text;
        std::string title;
        bool operator==(const Message&) const = default;
    };
    void Information(const std::string& text, const std::string& title) override {
        informations.push_back({text, title});
        if (onInformation) {
            onInformation(text, title);
        }
    }
    bool Question(const std::string& text, const std::string& title) override {
        questions.push_back({text, title});
        return questionAnswer;
    }

    std::vector<Message> informations;
    std::vector<Message> questions;
    bool questionAnswer = true;
    // Runs while the message box would be open, e.g. to let time pass.
    std::function<void(const std::string&, const std::string&)> onInformation;
};

class FakeEventLoop : public EventLoop {
  public:
    void ProcessEvents() override {
        ++processEventsCalls;
        if (onProcessEvents) {
            onProcessEvents();
        }
    }
    void Quit(int exitCode) override { quitCode = exitCode; }

    std::optional<int> quitCode;
    int processEventsCalls = 0;
    // Runs on each ProcessEvents, e.g. to advance the fake clock while the caller waits.
    std::function<void()> onProcessEvents;
};

struct FakePlatform {
    FakeClock clock;
    FakeSoundPlayer sound;
    FakeTrayService tray;
    FakeShell shell;
    FakeProcessLauncher processes;
    FakePowerOff power;
    FakeMailClientLocator mailClient;
    FakeMessageService messages;
    FakeEventLoop loop;
    Platform platform{clock,     clock, sound,      tray,     shell,
                      processes, power, mailClient, messages, loop};
};

}  // namespace kestrelon
