#include "conman/frmConSched.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "conman/TaskManager.h"
#include "platform/qt/WindowTestSupport.h"

namespace kestrelon {
namespace {

class ConSchedTest : public test::WindowTest {
  protected:
    void SetUp() override {
        AddProfile("Home");
        AddProfile("Office");
        AddProfile("Travel");
        LoadTasks(app_.tasks, app_.lang);
    }
    void AddProfile(const std::string& name) {
        app_.profiles.nProfs += 1;
        app_.profiles.ConProf[static_cast<std::size_t>(app_.profiles.nProfs)].Name = name;
    }
    // Picks a list entry with the keyboard, as a user would.
    static void Choose(QComboBox* list, int index) {
        QTest::keyClick(list, Qt::Key_Home);
        for (int i = 0; i < index; ++i) {
            QTest::keyClick(list, Qt::Key_Down);
        }
        ASSERT_EQ(list->currentIndex(), index);
    }
};

TEST_F(ConSchedTest, ANewTaskStartsAtMidnightFirstThenAtTheLastChosenTime) {
    {
        frmConSched dialog(app_);
        dialog.show();
        EXPECT_EQ(dialog.cmbHour->currentText(), "00");
        EXPECT_EQ(dialog.cmbMin->currentText(), "00");
        EXPECT_EQ(dialog.cmbHour->count(), 24);
        EXPECT_EQ(dialog.cmbMin->count(), 60);
        EXPECT_EQ(dialog.cmbMin->itemText(59), "59");
        EXPECT_EQ(dialog.cmbAction->currentText(), "Select Connection");
        EXPECT_EQ(dialog.cmbConnection->currentText(), "Home");
        EXPECT_TRUE(dialog.cmbConnection->isEnabled());
        EXPECT_EQ(dialog.TaskBuffer(), (ScheduledTask{0, 0, kTaskSelectConnection, 1}));
        Choose(dialog.cmbHour, 7);
        Choose(dialog.cmbMin, 30);
        QTest::mouseClick(dialog.cmdCancel, Qt::LeftButton);
        EXPECT_FALSE(dialog.DialogAccepted());
    }
    // Cancel closes the dialog too, and closing remembers the time.
    frmConSched again(app_);
    EXPECT_EQ(again.cmbHour->currentText(), "07");
    EXPECT_EQ(again.cmbMin->currentText(), "30");
    EXPECT_EQ(again.TaskBuffer(), (ScheduledTask{7, 30, kTaskSelectConnection, 1}));
    EXPECT_EQ(again.cmbAction->currentIndex(), kTaskSelectConnection) << "the action is not kept";
}

TEST_F(ConSchedTest, OtherActionsDisableTheConnectionListButKeepItsNumber) {
    frmConSched dialog(app_);
    dialog.show();
    Choose(dialog.cmbConnection, 2);
    Choose(dialog.cmbAction, kTaskDial);
    EXPECT_FALSE(dialog.cmbConnection->isEnabled());
    EXPECT_EQ(dialog.TaskBuffer(), (ScheduledTask{0, 0, kTaskDial, 3}));
    Choose(dialog.cmbAction, kTaskSelectConnection);
    EXPECT_TRUE(dialog.cmbConnection->isEnabled());
    QTest::mouseClick(dialog.cmdOk, Qt::LeftButton);
    EXPECT_TRUE(dialog.DialogAccepted());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.TaskBuffer().connection, 3);
}

TEST_F(ConSchedTest, SetDataShowsTheTaskAndKeepsValuesTheListsCannotShow) {
    frmConSched dialog(app_);
    dialog.SetData({22, 45, kTaskDisconnect, 2});
    EXPECT_EQ(dialog.cmbHour->currentText(), "22");
    EXPECT_EQ(dialog.cmbMin->currentText(), "45");
    EXPECT_EQ(dialog.cmbAction->currentText(), "Disconnect");
    EXPECT_EQ(dialog.cmbConnection->currentText(), "Office");
    EXPECT_FALSE(dialog.cmbConnection->isEnabled());
    EXPECT_EQ(dialog.TaskBuffer(), (ScheduledTask{22, 45, kTaskDisconnect, 2}));

    // A Select Connection task whose profile was deleted shows no connection and keeps 0.
    dialog.SetData({6, 0, kTaskSelectConnection, 0});
    EXPECT_EQ(dialog.cmbConnection->currentIndex(), -1);
    EXPECT_EQ(dialog.TaskBuffer(), (ScheduledTask{6, 0, kTaskSelectConnection, 0}));
    Choose(dialog.cmbMin, 5);
    EXPECT_EQ(dialog.TaskBuffer(), (ScheduledTask{6, 5, kTaskSelectConnection, 0}));
}

TEST_F(ConSchedTest, WithoutProfilesTheConnectionStaysNone) {
    app_.profiles.nProfs = 0;
    frmConSched dialog(app_);
    EXPECT_EQ(dialog.cmbConnection->count(), 0);
    EXPECT_FALSE(dialog.cmbConnection->isEnabled());
    EXPECT_EQ(dialog.TaskBuffer(), (ScheduledTask{0, 0, kTaskSelectConnection, 0}));
}

TEST_F(ConSchedTest, CaptionsAndActionNamesAreTranslated) {
    UseLanguage("Deutsch",
                "taskproperties=Aufgabe\nentertime=Zeit:\nok=OK\ncancel=Abbrechen\n"
                "tskdialconnection=Wählen\n");
    LoadTasks(app_.tasks, app_.lang);
    frmConSched dialog(app_);
    EXPECT_EQ(dialog.windowTitle(), "Aufgabe");
    EXPECT_EQ(dialog.lblTime->text(), "Zeit:");
    EXPECT_EQ(dialog.lblAction->text(), "Choose Action:");
    EXPECT_EQ(dialog.cmdCancel->text(), "Abbrechen");
    EXPECT_EQ(dialog.cmbAction->itemText(kTaskDial), "Wählen");
    EXPECT_EQ(dialog.cmbAction->itemText(kTaskShutdownComputer), "Shutdown Computer");
}

}  // namespace
}  // namespace kestrelon
