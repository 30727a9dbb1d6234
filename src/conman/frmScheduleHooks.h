#pragma once

namespace kestrelon {

class AppCore;
class TaskScheduler;
class frmMain;

// Joins the Connection Manager to the main window: its Connection Manager command opens the
// task list, its start selection by schedule (StartCon -1) asks the task table, and Select
// Connection tasks select in its profile list as a click does. Call before the window loads.
void AttachConManWindow(AppCore& app, TaskScheduler& scheduler, frmMain& window);

}  // namespace kestrelon
