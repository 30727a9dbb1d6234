#include "conman/frmSchedule.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "conman/TaskManager.h"
#include "conman/frmConSched.h"
#include "core/AppCore.h"
#include "core/INIio.h"
#include "platform/qt/QtUi.h"

namespace kestrelon {

namespace {

std::string TwoDigits(int n) {
    return n >= 0 && n < 10 ? "0" + std::to_string(n) : std::to_string(n);
}

}  // namespace

frmSchedule::frmSchedule(AppCore& app, QWidget* parent) : QDialog(parent), app_(app) {
    setObjectName("frmSchedule");
    setWindowTitle("Connection Manager");

    chkEnable = new QCheckBox("Enable Connection Manager", this);
    chkEnable->setObjectName("chkEnable");
    lblTasks = new QLabel("Tasks:", this);
    lblTasks->setObjectName("lblTasks");
    lstSchedule = new QListWidget(this);
    lstSchedule->setObjectName("lstSchedule");
    cmdAdd = new QPushButton("&Add Task...", this);
    cmdAdd->setObjectName("cmdAdd");
    cmdEdit = new QPushButton("&Edit Task...", this);
    cmdEdit->setObjectName("cmdEdit");
    cmdDel = new QPushButton("&Delete Task", this);
    cmdDel->setObjectName("cmdDel");
    cmdOk = new QPushButton("&Close", this);
    cmdOk->setObjectName("cmdOk");
    cmdOk->setDefault(true);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdAdd);
    buttons->addWidget(cmdEdit);
    buttons->addWidget(cmdDel);
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    auto* grid = new QGridLayout(this);
    grid->addWidget(chkEnable, 0, 0, 1, 2);
    grid->addWidget(lblTasks, 1, 0);
    grid->addWidget(lstSchedule, 2, 0);
    grid->addLayout(buttons, 2, 1);
    grid->setColumnStretch(0, 1);

    // Showing the setting does not write it; only a click does, at once.
    chkEnable->setChecked(app_.settings.ConMan);
    connect(chkEnable, &QCheckBox::clicked, this, [this](bool ticked) {
        app_.settings.ConMan = ticked;
        IniWrite("Settings", "ConMan", ticked);
        UpdateButtons();
    });
    connect(lstSchedule, &QListWidget::currentRowChanged, this, [this] { UpdateButtons(); });
    connect(cmdAdd, &QPushButton::clicked, this, [this] { AddTask(); });
    connect(cmdEdit, &QPushButton::clicked, this, [this] { EditTask(); });
    connect(cmdDel, &QPushButton::clicked, this, [this] { DeleteTask(); });
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);

    FillList();
    TranslateWindowTitle(app_, this, "connectionmanager");
    TranslateCaption(app_, chkEnable, "enableconman");
    TranslateCaption(app_, lblTasks, "tasks");
    TranslateCaption(app_, cmdAdd, "addtask");
    TranslateCaption(app_, cmdEdit, "edittask");
    TranslateCaption(app_, cmdDel, "deletetask");
    TranslateCaption(app_, cmdOk, "close");
    InstallHelpKey(app_, this, std::string("conmandlg"));
    InstallKeepInWorkArea(this);
    resize(420, 300);
}

std::string frmSchedule::TaskLine(const ScheduledTask& task) const {
    std::string line = TwoDigits(task.hour) + ":" + TwoDigits(task.minute) + " " +
                       TaskActionName(app_.tasks, task.action);
    if (task.action == kTaskSelectConnection) {
        // A task left without its profile shows no name; the scheduler skips it.
        if (const ConnectionProfile* profile = app_.profiles.Find(task.connection)) {
            line += " " + profile->Name;
        }
    }
    return line;
}

void frmSchedule::FillList() {
    const QSignalBlocker quiet(lstSchedule);
    lstSchedule->clear();
    for (int i = 1; i <= TaskCount(app_.tasks); ++i) {
        lstSchedule->addItem(ToQt(TaskLine(app_.tasks.Task(i))));
    }
    lstSchedule->setCurrentRow(-1);
    lstSchedule->clearSelection();
    UpdateButtons();
}

void frmSchedule::UpdateButtons() {
    const bool selected = lstSchedule->currentRow() >= 0;
    cmdEdit->setEnabled(selected);
    cmdDel->setEnabled(selected);
    const bool full = TaskCount(app_.tasks) >= TaskTable::kMaxTasks;
    cmdAdd->setEnabled(!full);
    cmdAdd->setToolTip(
        full ? ToQt(app_.LangText("tasklistfull", "The list holds # tasks, no more can be added",
                                  std::to_string(TaskTable::kMaxTasks)))
             : QString());
}

void frmSchedule::AddTask() {
    if (TaskCount(app_.tasks) >= TaskTable::kMaxTasks) {
        return;
    }
    ScheduledTask chosen;
    bool accepted = false;
    {
        frmConSched properties(app_, this);
        properties.exec();
        accepted = properties.DialogAccepted();
        chosen = properties.TaskBuffer();
    }
    // The table may have been filled while the dialog was open; the check is made again.
    if (!accepted || TaskCount(app_.tasks) >= TaskTable::kMaxTasks) {
        return;
    }
    app_.tasks.nTasks = TaskCount(app_.tasks) + 1;
    app_.tasks.Task(app_.tasks.nTasks) = chosen;
    SaveTasks(app_.tasks);
    FillList();
}

void frmSchedule::EditTask() {
    const int k = lstSchedule->currentRow() + 1;
    if (k < 1 || k > TaskCount(app_.tasks)) {
        return;
    }
    ScheduledTask chosen;
    bool accepted = false;
    {
        frmConSched properties(app_, this);
        properties.SetData(app_.tasks.Task(k));
        properties.exec();
        accepted = properties.DialogAccepted();
        chosen = properties.TaskBuffer();
    }
    if (!accepted || k > TaskCount(app_.tasks)) {
        return;
    }
    app_.tasks.Task(k) = chosen;
    SaveTasks(app_.tasks);
    FillList();
}

void frmSchedule::DeleteTask() {
    const int row = lstSchedule->currentRow();
    if (row < 0) {
        return;
    }
    kestrelon::DeleteTask(app_.tasks, row + 1);
    SaveTasks(app_.tasks);
    FillList();
    const int count = lstSchedule->count();
    if (count > 0) {
        lstSchedule->setCurrentRow(std::min(row, count - 1));
    }
}

void ShowConnectionManager(AppCore& app, QWidget* parent) {
    frmSchedule dialog(app, parent);
    dialog.exec();
}

}  // namespace kestrelon
