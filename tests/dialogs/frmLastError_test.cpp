#include "dialogs/frmLastError.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "core/INIio.h"
#include "dialogs/frmMsgBox.h"
#include "platform/qt/QtUi.h"
#include "profiles/ConProfMod.h"

#include "platform/qt/WindowTestSupport.h"

namespace kestrelon {
namespace {

using test::WhenModalOpens;

class LastErrorTest : public test::WindowTest {
  protected:
    LastErrorTest() {
        for (const char* name : {"Home", "Office"}) {
            ConnectionProfile& p = app_.profiles.ConProf[++app_.profiles.nProfs];
            p.Name = name;
        }
        refs_.selProfile = &app_.SelProfile;
    }
    // Presses Add to Ignore List and answers the message box; returns its text.
    std::string AddError(frmLastError& dialog) {
        std::string text;
        WhenModalOpens([&text](QWidget* modal) {
            auto* box = qobject_cast<frmMsgBox*>(modal);
            ASSERT_NE(box, nullptr);
            text = FromQt(box->windowTitle() + "|" + box->lblInfo->text());
            QTest::mouseClick(box->cmdOk, Qt::LeftButton);
        });
        QTest::mouseClick(dialog.cmdAddError, Qt::LeftButton);
        return text;
    }

    ProfileReferences refs_;
};

TEST_F(LastErrorTest, BeforeAnyErrorTheDialogSaysSoAndTheNumberStaysEmpty) {
    frmLastError dialog(app_, 0, 0, nullptr, refs_);
    EXPECT_EQ(dialog.windowTitle(), "Last Error");
    EXPECT_EQ(dialog.txtError->text(), "No Error Encountered");
    EXPECT_TRUE(dialog.txtErrN->text().isEmpty());
    EXPECT_EQ(dialog.Label1->text(), "Error #:");
    EXPECT_TRUE(dialog.txtError->isReadOnly());
}

TEST_F(LastErrorTest, TheNumberBringsItsTextAndOnlyDigitsCanBeTyped) {
    frmLastError dialog(app_, 678, 1, nullptr, refs_);
    EXPECT_EQ(dialog.txtErrN->text(), "678");
    EXPECT_EQ(dialog.txtError->text(), "Error 678: There was no answer.");

    dialog.show();
    dialog.txtErrN->clear();
    QTest::keyClicks(dialog.txtErrN, "9x0-1a");
    EXPECT_EQ(dialog.txtErrN->text(), "901");
    QTest::keyClick(dialog.txtErrN, Qt::Key_Backspace);
    EXPECT_EQ(dialog.txtErrN->text(), "90");

    frmLastError own(
        app_, 900, 1, [](std::uint32_t code) { return "limit " + std::to_string(code); }, refs_);
    EXPECT_EQ(own.txtError->text(), "Error 900: limit 900");
}

TEST_F(LastErrorTest, AddingAppendsToTheSessionProfileEachTimeAndSaves) {
    app_.profiles.ConProf[2].IgnErr = "602 603 ";
    app_.SelProfile = 1;
    frmLastError dialog(app_, 678, 2, nullptr, refs_);
    dialog.show();
    EXPECT_EQ(AddError(dialog), "Error added|Error 678 has been added to the ignore list");
    EXPECT_EQ(app_.profiles.ConProf[2].IgnErr, "602 603 678");
    AddError(dialog);
    EXPECT_EQ(app_.profiles.ConProf[2].IgnErr, "602 603 678 678");
    EXPECT_TRUE(app_.profiles.ConProf[1].IgnErr.empty());

    ProfileTable stored;
    LoadProfiles(stored);
    ASSERT_EQ(stored.nProfs, 2);
    EXPECT_EQ(stored.ConProf[2].IgnErr, "602 603 678 678");
}

TEST_F(LastErrorTest, WithoutASessionProfileTheSelectedOneGetsTheNumber) {
    app_.SelProfile = 1;
    frmLastError dialog(app_, 691, 0, nullptr, refs_);
    dialog.show();
    AddError(dialog);
    EXPECT_EQ(app_.profiles.ConProf[1].IgnErr, "691");
}

TEST_F(LastErrorTest, AnEmptyNumberAddsNothingButStillSaves) {
    app_.SelProfile = 1;
    frmLastError dialog(app_, 0, 0, nullptr, refs_);
    dialog.show();
    QTest::mouseClick(dialog.cmdAddError, Qt::LeftButton);
    EXPECT_TRUE(app_.profiles.ConProf[1].IgnErr.empty());
    EXPECT_TRUE(fake_.messages.informations.empty());
    EXPECT_EQ(IniReadNumber("ConProf", "nProfs"), 2);
}

TEST_F(LastErrorTest, TheSwitchIsStoredAtOnce) {
    frmLastError dialog(app_, 0, 0, nullptr, refs_);
    dialog.show();
    EXPECT_FALSE(dialog.chkShowError->isChecked());
    // On the box itself: the widget is wider than its text.
    const QPoint box(6, dialog.chkShowError->height() / 2);
    QTest::mouseClick(dialog.chkShowError, Qt::LeftButton, {}, box);
    EXPECT_TRUE(app_.settings.ShowError);
    EXPECT_TRUE(IniReadBool("Settings", "ShowError"));
    QTest::mouseClick(dialog.chkShowError, Qt::LeftButton, {}, box);
    EXPECT_FALSE(IniReadBool("Settings", "ShowError"));

    app_.settings.ShowError = true;
    frmLastError second(app_, 0, 0, nullptr, refs_);
    EXPECT_TRUE(second.chkShowError->isChecked());
}

}  // namespace
}  // namespace kestrelon
