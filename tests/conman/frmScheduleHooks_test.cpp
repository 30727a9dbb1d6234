#include "conman/frmScheduleHooks.h"

#include <QAction>
#include <QListWidget>
#include <QTest>

#include "conman/TaskManager.h"
#include "conman/TaskScheduler.h"
#include "conman/frmSchedule.h"
#include "mainwindow/frmMain.h"
#include "platform/qt/WindowTestSupport.h"

namespace kestrelon {
namespace {

class ScheduleHooksTest : public test::WindowTest {
  protected:
    void SetUp() override {
        for (const char* name : {"Home", "Office", "Travel"}) {
            app_.profiles.nProfs += 1;
            app_.profiles.ConProf[static_cast<std::size_t>(app_.profiles.nProfs)].Name = name;
        }
        LoadTasks(app_.tasks, app_.lang);
        Task(22, 0, kTaskSelectConnection, 3);
        Task(6, 0, kTaskSelectConnection, 2);
        app_.settings.ConMan = true;
        InitSoundEvents(app_.settings.sounds);
        app_.settings.ProgLog = "Program.log";
        app_.settings.MaxLogSize = 100;
    }
    void Task(int hour, int minute, int action, int connection) {
        app_.tasks.nTasks += 1;
        app_.tasks.Task(app_.tasks.nTasks) = {hour, minute, action, connection};
        SaveTasks(app_.tasks);
    }

    TaskScheduler scheduler_{app_};
};

TEST_F(ScheduleHooksTest, TheStartSelectionFollowsTheSchedule) {
    app_.settings.StartCon = -1;
    fake_.clock.SetNow({2026, 12, 7, 5, 0, 0, 0, 0});
    frmMain window(app_);
    AttachConManWindow(app_, scheduler_, window);
    window.LoadWindow();
    // Before 06:00 yesterday's 22:00 selection still holds.
    EXPECT_EQ(window.lstConProf->currentRow(), 2);
    EXPECT_EQ(app_.SelProfile, 3);
}

TEST_F(ScheduleHooksTest, ASelectTaskSelectsInTheListAsAClickDoes) {
    fake_.clock.SetNow({2026, 12, 7, 5, 59, 59, 0, 0});
    frmMain window(app_);
    AttachConManWindow(app_, scheduler_, window);
    window.LoadWindow();
    window.lstConProf->setCurrentRow(0);
    scheduler_.RunDueTasks();
    fake_.clock.SetNow({2026, 12, 7, 6, 0, 0, 0, 0});
    scheduler_.RunDueTasks();
    EXPECT_EQ(window.lstConProf->currentRow(), 1);
    EXPECT_EQ(app_.SelProfile, 2);
}

TEST_F(ScheduleHooksTest, TheConnectionManagerCommandOpensTheTaskList) {
    frmMain window(app_);
    AttachConManWindow(app_, scheduler_, window);
    window.LoadWindow();
    ASSERT_TRUE(window.mnuManager->isEnabled());
    QString firstLine;
    test::WhenModalOpens([&](QWidget* modal) {
        auto* list = qobject_cast<frmSchedule*>(modal);
        ASSERT_NE(list, nullptr);
        firstLine = list->lstSchedule->item(0)->text();
        list->close();
    });
    window.mnuManager->trigger();
    EXPECT_EQ(firstLine, "06:00 Select Connection Office");
}

}  // namespace
}  // namespace kestrelon
