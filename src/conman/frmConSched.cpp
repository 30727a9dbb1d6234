#include "conman/frmConSched.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "conman/TaskManager.h"
#include "core/AppCore.h"
#include "platform/qt/QtUi.h"

namespace kestrelon {

namespace {

QString TwoDigits(int n) {
    return QString::number(n).rightJustified(2, '0');
}

}  // namespace

frmConSched::frmConSched(AppCore& app, QWidget* parent) : QDialog(parent), app_(app) {
    setObjectName("frmConSched");
    setWindowTitle("Task Properties");

    lblTime = new QLabel("Enter Time:", this);
    lblTime->setObjectName("lblTime");
    cmbHour = new QComboBox(this);
    cmbHour->setObjectName("cmbHour");
    cmbMin = new QComboBox(this);
    cmbMin->setObjectName("cmbMin");
    lblAction = new QLabel("Choose Action:", this);
    lblAction->setObjectName("lblAction");
    cmbAction = new QComboBox(this);
    cmbAction->setObjectName("cmbAction");
    lblConnection = new QLabel("Select Connection:", this);
    lblConnection->setObjectName("lblConnection");
    cmbConnection = new QComboBox(this);
    cmbConnection->setObjectName("cmbConnection");
    cmdOk = new QPushButton("Ok", this);
    cmdOk->setObjectName("cmdOk");
    cmdOk->setDefault(true);
    cmdCancel = new QPushButton("Cancel", this);
    cmdCancel->setObjectName("cmdCancel");

    auto* time = new QHBoxLayout;
    time->addWidget(cmbHour);
    time->addWidget(new QLabel(":", this));
    time->addWidget(cmbMin);
    time->addStretch();
    auto* grid = new QGridLayout;
    grid->addWidget(lblTime, 0, 0);
    grid->addLayout(time, 0, 1);
    grid->addWidget(lblAction, 1, 0);
    grid->addWidget(cmbAction, 1, 1);
    grid->addWidget(lblConnection, 2, 0);
    grid->addWidget(cmbConnection, 2, 1);
    grid->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);

    // The lists write the buffer as they change, also while they are filled below.
    connect(cmbHour, &QComboBox::currentIndexChanged, this, [this](int i) { buffer_.hour = i; });
    connect(cmbMin, &QComboBox::currentIndexChanged, this, [this](int i) { buffer_.minute = i; });
    connect(cmbAction, &QComboBox::currentIndexChanged, this, &frmConSched::ActionChosen);
    connect(cmbConnection, &QComboBox::currentIndexChanged, this,
            [this](int i) { buffer_.connection = i + 1; });
    connect(cmdOk, &QPushButton::clicked, this, [this] {
        accepted_ = true;
        accept();
    });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    // Without profiles there is nothing to select: the connection stays 0.
    for (int i = 1; i <= app_.profiles.nProfs; ++i) {
        cmbConnection->addItem(ToQt(app_.profiles.ConProf[static_cast<std::size_t>(i)].Name));
    }
    cmbConnection->setCurrentIndex(cmbConnection->count() > 0 ? 0 : -1);
    buffer_.connection = cmbConnection->currentIndex() + 1;
    for (int code = 0; code < kTaskActionCount; ++code) {
        cmbAction->addItem(ToQt(TaskActionName(app_.tasks, code)));
    }
    cmbAction->setCurrentIndex(kTaskSelectConnection);
    for (int h = 0; h < 24; ++h) {
        cmbHour->addItem(TwoDigits(h));
    }
    cmbHour->setCurrentIndex(std::clamp(app_.tasks.rememberedHour, 0, 23));
    for (int m = 0; m < 60; ++m) {
        cmbMin->addItem(TwoDigits(m));
    }
    cmbMin->setCurrentIndex(std::clamp(app_.tasks.rememberedMinute, 0, 59));

    TranslateWindowTitle(app_, this, "taskproperties");
    TranslateCaption(app_, lblTime, "entertime");
    TranslateCaption(app_, lblAction, "chooseaction");
    TranslateCaption(app_, lblConnection, "selectconnection");
    TranslateCaption(app_, cmdOk, "ok");
    TranslateCaption(app_, cmdCancel, "cancel");
    InstallHelpKey(app_, this, std::string("conmandlg"));
    InstallKeepInWorkArea(this);
}

frmConSched::~frmConSched() {
    app_.tasks.rememberedHour = std::max(cmbHour->currentIndex(), 0);
    app_.tasks.rememberedMinute = std::max(cmbMin->currentIndex(), 0);
}

void frmConSched::ActionChosen(int index) {
    // The connection list only matters to Select Connection, but its number is kept for all.
    cmbConnection->setEnabled(index == kTaskSelectConnection && cmbConnection->count() > 0);
    buffer_.action = index;
}

void frmConSched::SetData(const ScheduledTask& task) {
    const auto select = [](QComboBox* list, int index) {
        list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
    };
    select(cmbHour, task.hour);
    select(cmbMin, task.minute);
    select(cmbAction, task.action);
    select(cmbConnection, task.connection - 1);
    // Values the lists cannot show (a hand-edited file, a deleted profile) stay as they were.
    buffer_ = task;
}

}  // namespace kestrelon
