#include "conman/ConManHooks.h"

#include "conman/TaskScheduler.h"
#include "dialer/DialSessionController.h"

namespace kestrelon {

void AttachConMan(TaskScheduler& scheduler, DialSessionController& dialer) {
    TaskActions& actions = scheduler.Actions();
    actions.dial = [&dialer] { dialer.StartDial(true, 0, false); };
    actions.disconnect = [&dialer] { dialer.Disconnect(); };
    dialer.Hooks().conManCheck = [&scheduler] { scheduler.RunDueTasks(); };
}

}  // namespace kestrelon
