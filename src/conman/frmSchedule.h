#pragma once

#include <QDialog>
#include <string>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace kestrelon {

class AppCore;
struct ScheduledTask;

// The Connection Manager's task list: switches the scheduler on and off and adds, edits and
// deletes tasks. Every change is written to the settings file at once; there is no Cancel.
class frmSchedule : public QDialog {
    Q_OBJECT
  public:
    explicit frmSchedule(AppCore& app, QWidget* parent = nullptr);

    // One line per task, none selected afterwards.
    void FillList();

    QCheckBox* chkEnable = nullptr;
    QLabel* lblTasks = nullptr;
    QListWidget* lstSchedule = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdEdit = nullptr;
    QPushButton* cmdDel = nullptr;
    QPushButton* cmdOk = nullptr;

  private:
    std::string TaskLine(const ScheduledTask& task) const;
    void UpdateButtons();
    void AddTask();
    void EditTask();
    void DeleteTask();

    AppCore& app_;
};

// The Connection Manager command of the main window and the tray menu: the task list, modal.
void ShowConnectionManager(AppCore& app, QWidget* parent);

}  // namespace kestrelon
