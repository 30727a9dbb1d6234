#pragma once

#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "platform/MailClientLocator.h"
#include "platform/MessageService.h"
#include "platform/PowerOff.h"
#include "platform/ProcessLauncher.h"
#include "platform/Shell.h"
#include "platform/SoundPlayer.h"
#include "platform/Timer.h"
#include "platform/TrayService.h"

namespace kestrelon {

// The platform services the core works through; the program passes the real ones, tests pass
// fakes.
struct Platform {
    Clock& clock;
    TimerFactory& timers;
    SoundPlayer& sound;
    TrayService& tray;
    Shell& shell;
    ProcessLauncher& processes;
    PowerOff& power;
    MailClientLocator& mailClient;
    MessageService& messages;
    EventLoop& loop;
};

}  // namespace kestrelon
