#pragma once

#include <QDialog>

#include "conman/ScheduledTask.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace kestrelon {

class AppCore;

// The task properties dialog: time, action and connection of one task. Every choice goes
// straight into the task buffer; OK only marks the dialog accepted. A new task starts at the
// time the dialog showed when it was last closed.
class frmConSched : public QDialog {
    Q_OBJECT
  public:
    explicit frmConSched(AppCore& app, QWidget* parent = nullptr);
    // Remembers the shown hour and minute for the next task.
    ~frmConSched() override;

    // Shows a task for editing: its time, action and connection are selected in the lists.
    void SetData(const ScheduledTask& task);

    // The task as chosen so far.
    const ScheduledTask& TaskBuffer() const { return buffer_; }
    // True only after OK.
    bool DialogAccepted() const { return accepted_; }

    QLabel* lblTime = nullptr;
    QComboBox* cmbHour = nullptr;
    QComboBox* cmbMin = nullptr;
    QLabel* lblAction = nullptr;
    QComboBox* cmbAction = nullptr;
    QLabel* lblConnection = nullptr;
    QComboBox* cmbConnection = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

  private:
    void ActionChosen(int index);

    AppCore& app_;
    ScheduledTask buffer_;
    bool accepted_ = false;
};

}  // namespace kestrelon
