#include "conman/frmSchedule.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <vector>

#include "conman/TaskManager.h"
#include "conman/TaskScheduler.h"
#include "conman/frmConSched.h"
#include "core/INIio.h"
#include "platform/qt/WindowTestSupport.h"

namespace kestrelon {
namespace {

using test::WhenModalOpens;

// Acts on the task properties dialog once it is the modal window, even while the task list
// is open below it.
void WhenPropertiesOpen(std::function<void(frmConSched*)> act) {
    auto* poll = new QTimer(qApp);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act = std::move(act)] {
        if (auto* dialog = qobject_cast<frmConSched*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(dialog);
        }
    });
    poll->start();
}

class ScheduleTest : public test::WindowTest {
  protected:
    void SetUp() override {
        AddProfile("Home");
        AddProfile("Office");
        LoadTasks(app_.tasks, app_.lang);
    }
    void AddProfile(const std::string& name) {
        app_.profiles.nProfs += 1;
        app_.profiles.ConProf[static_cast<std::size_t>(app_.profiles.nProfs)].Name = name;
    }
    void Task(int hour, int minute, int action, int connection = 0) {
        app_.tasks.nTasks += 1;
        app_.tasks.Task(app_.tasks.nTasks) = {hour, minute, action, connection};
        SaveTasks(app_.tasks);
    }
    static QStringList Lines(const QListWidget* list) {
        QStringList lines;
        for (int i = 0; i < list->count(); ++i) {
            lines << list->item(i)->text();
        }
        return lines;
    }
    static void ClickLine(QListWidget* list, int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
        ASSERT_EQ(list->currentRow(), row);
    }
    static void Choose(QComboBox* list, int index) {
        QTest::keyClick(list, Qt::Key_Home);
        for (int i = 0; i < index; ++i) {
            QTest::keyClick(list, Qt::Key_Down);
        }
    }
    // Fills the properties dialog and presses OK.
    static void Enter(frmConSched* dialog, int hour, int minute, int action, int connection) {
        Choose(dialog->cmbHour, hour);
        Choose(dialog->cmbMin, minute);
        Choose(dialog->cmbConnection, connection - 1);
        Choose(dialog->cmbAction, action);
        QTest::mouseClick(dialog->cmdOk, Qt::LeftButton);
    }
    std::string Stored(const std::string& key) { return IniReadString("tasks", key); }
};

TEST_F(ScheduleTest, TheListShowsOneLinePerTaskWithNothingSelected) {
    Task(8, 0, kTaskDial);
    Task(7, 30, kTaskSelectConnection, 2);
    Task(23, 5, kTaskSelectConnection, 9);
    frmSchedule dialog(app_);
    dialog.show();
    EXPECT_EQ(Lines(dialog.lstSchedule), (QStringList{"07:30 Select Connection Office",
                                                      "08:00 Dial", "23:05 Select Connection"}));
    EXPECT_EQ(dialog.lstSchedule->currentRow(), -1);
    EXPECT_TRUE(dialog.cmdAdd->isEnabled());
    EXPECT_FALSE(dialog.cmdEdit->isEnabled());
    EXPECT_FALSE(dialog.cmdDel->isEnabled());
    ClickLine(dialog.lstSchedule, 1);
    EXPECT_TRUE(dialog.cmdEdit->isEnabled());
    EXPECT_TRUE(dialog.cmdDel->isEnabled());
}

TEST_F(ScheduleTest, TheEnableBoxShowsTheSettingAndWritesItAtOnce) {
    app_.settings.ConMan = true;
    frmSchedule dialog(app_);
    dialog.show();
    EXPECT_TRUE(dialog.chkEnable->isChecked());
    EXPECT_EQ(IniReadString("Settings", "ConMan"), "") << "showing it writes nothing";
    // On the box itself: the check box is wider than its text.
    QTest::mouseClick(dialog.chkEnable, Qt::LeftButton, {},
                      QPoint(6, dialog.chkEnable->height() / 2));
    EXPECT_FALSE(app_.settings.ConMan);
    EXPECT_EQ(IniReadString("Settings", "ConMan"), "False");
    QTest::keyClick(dialog.chkEnable, Qt::Key_Space);
    EXPECT_TRUE(app_.settings.ConMan);
    EXPECT_EQ(IniReadString("Settings", "ConMan"), "True");
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(ScheduleTest, AddingSavesSortsAndMergesATaskOfTheSameTimeAndAction) {
    Task(9, 0, kTaskDisconnect);
    frmSchedule dialog(app_);
    dialog.show();
    WhenPropertiesOpen([](frmConSched* properties) { Enter(properties, 8, 0, kTaskDial, 1); });
    QTest::mouseClick(dialog.cmdAdd, Qt::LeftButton);
    EXPECT_EQ(Lines(dialog.lstSchedule), (QStringList{"08:00 Dial", "09:00 Disconnect"}));
    EXPECT_EQ(Stored("nTasks"), "2");
    EXPECT_EQ(Stored("1hour"), "8");
    EXPECT_EQ(Stored("1action"), "2");

    // The same time and action again: still one such task, with the new connection.
    WhenPropertiesOpen([](frmConSched* properties) { Enter(properties, 8, 0, kTaskDial, 2); });
    QTest::mouseClick(dialog.cmdAdd, Qt::LeftButton);
    EXPECT_EQ(dialog.lstSchedule->count(), 2);
    EXPECT_EQ(Stored("nTasks"), "2");
    EXPECT_EQ(Stored("1connection"), "2");

    // Cancel adds nothing.
    WhenPropertiesOpen([](frmConSched* properties) {
        Choose(properties->cmbHour, 5);
        QTest::mouseClick(properties->cmdCancel, Qt::LeftButton);
    });
    QTest::mouseClick(dialog.cmdAdd, Qt::LeftButton);
    EXPECT_EQ(dialog.lstSchedule->count(), 2);
    EXPECT_EQ(app_.tasks.nTasks, 2);
}

TEST_F(ScheduleTest, EditShowsTheTaskAndSavesTheChangeInPlace) {
    Task(6, 0, kTaskSelectConnection, 1);
    Task(7, 0, kTaskDial);
    frmSchedule dialog(app_);
    dialog.show();
    ClickLine(dialog.lstSchedule, 0);
    WhenPropertiesOpen([](frmConSched* properties) {
        EXPECT_EQ(properties->cmbHour->currentText(), "06");
        EXPECT_EQ(properties->cmbConnection->currentText(), "Home");
        Choose(properties->cmbHour, 7);
        Choose(properties->cmbMin, 30);
        Choose(properties->cmbConnection, 1);
        QTest::mouseClick(properties->cmdOk, Qt::LeftButton);
    });
    QTest::mouseClick(dialog.cmdEdit, Qt::LeftButton);
    EXPECT_EQ(Lines(dialog.lstSchedule),
              (QStringList{"07:00 Dial", "07:30 Select Connection Office"}));
    EXPECT_EQ(dialog.lstSchedule->currentRow(), -1);
    EXPECT_EQ(Stored("2minute"), "30");
    EXPECT_EQ(Stored("2connection"), "2");
}

TEST_F(ScheduleTest, DeletingTheLastLineSelectsTheNewLastLine) {
    Task(1, 0, kTaskDial);
    Task(2, 0, kTaskDial);
    Task(3, 0, kTaskDial);
    frmSchedule dialog(app_);
    dialog.show();
    ClickLine(dialog.lstSchedule, 2);
    QTest::mouseClick(dialog.cmdDel, Qt::LeftButton);
    EXPECT_EQ(Lines(dialog.lstSchedule), (QStringList{"01:00 Dial", "02:00 Dial"}));
    EXPECT_EQ(dialog.lstSchedule->currentRow(), 1);
    EXPECT_TRUE(dialog.cmdDel->isEnabled());
    EXPECT_EQ(Stored("nTasks"), "2");

    // A middle line: the line at the old position is selected.
    ClickLine(dialog.lstSchedule, 0);
    QTest::mouseClick(dialog.cmdDel, Qt::LeftButton);
    EXPECT_EQ(Lines(dialog.lstSchedule), (QStringList{"02:00 Dial"}));
    EXPECT_EQ(dialog.lstSchedule->currentRow(), 0);

    // The only line: nothing left to select, Edit and Delete go grey.
    QTest::mouseClick(dialog.cmdDel, Qt::LeftButton);
    EXPECT_EQ(dialog.lstSchedule->count(), 0);
    EXPECT_FALSE(dialog.cmdEdit->isEnabled());
    EXPECT_FALSE(dialog.cmdDel->isEnabled());
    EXPECT_EQ(Stored("nTasks"), "0");
}

TEST_F(ScheduleTest, AFullListDisablesAddAndSaysWhy) {
    for (int i = 0; i < TaskTable::kMaxTasks - 1; ++i) {
        app_.tasks.nTasks += 1;
        app_.tasks.Task(app_.tasks.nTasks) = {i / 60, i % 60, kTaskDial, 0};
    }
    SaveTasks(app_.tasks);
    frmSchedule dialog(app_);
    dialog.show();
    EXPECT_TRUE(dialog.cmdAdd->isEnabled());
    EXPECT_TRUE(dialog.cmdAdd->toolTip().isEmpty());
    WhenPropertiesOpen([](frmConSched* properties) { Enter(properties, 23, 59, kTaskQuit, 1); });
    QTest::mouseClick(dialog.cmdAdd, Qt::LeftButton);
    EXPECT_EQ(app_.tasks.nTasks, TaskTable::kMaxTasks);
    EXPECT_FALSE(dialog.cmdAdd->isEnabled());
    EXPECT_EQ(dialog.cmdAdd->toolTip(), "The list holds 100 tasks, no more can be added");

    // Deleting one makes room again.
    ClickLine(dialog.lstSchedule, 0);
    QTest::mouseClick(dialog.cmdDel, Qt::LeftButton);
    EXPECT_TRUE(dialog.cmdAdd->isEnabled());
}

TEST_F(ScheduleTest, TasksRunWhileBothDialogsAreOpen) {
    Task(10, 1, kTaskDial);
    app_.settings.ConMan = true;
    fake_.clock.SetNow({2026, 12, 7, 10, 0, 50, 0, 0});
    std::vector<std::string> done;
    TaskScheduler scheduler(app_, {{}, [&] { done.push_back("dial"); }, {}, {}});
    scheduler.RunDueTasks();
    // The main window's heartbeat.
    QTimer heartbeat;
    QObject::connect(&heartbeat, &QTimer::timeout, [&] { scheduler.RunDueTasks(); });
    heartbeat.start(5);

    bool ranMeanwhile = false;
    WhenModalOpens([&](QWidget* list) {
        WhenPropertiesOpen([&](frmConSched* properties) {
            fake_.clock.SetNow({2026, 12, 7, 10, 1, 0, 0, 0});
            ranMeanwhile = QTest::qWaitFor([&] { return !done.empty(); }, 2000);
            QTest::mouseClick(properties->cmdCancel, Qt::LeftButton);
        });
        QTest::mouseClick(list->findChild<QPushButton*>("cmdAdd"), Qt::LeftButton);
        QTest::mouseClick(list->findChild<QPushButton*>("cmdOk"), Qt::LeftButton);
    });
    ShowConnectionManager(app_, nullptr);
    EXPECT_TRUE(ranMeanwhile);
    EXPECT_EQ(done, std::vector<std::string>{"dial"});
}

}  // namespace
}  // namespace kestrelon
