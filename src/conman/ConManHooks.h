#pragma once

namespace kestrelon {

class DialSessionController;
class TaskScheduler;

// Lets the dial and disconnect tasks drive the dialing engine as the main window's buttons do,
// and hooks the scheduler's check into the engine's heartbeat (which calls it about once a
// second while the Connection Manager is on). Selecting a profile and quitting stay for the
// program to set on the scheduler's actions.
void AttachConMan(TaskScheduler& scheduler, DialSessionController& dialer);

}  // namespace kestrelon
