#include "dialogs/frmOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include <filesystem>

#include "core/AppSettings.h"
#include "core/INIio.h"
#include "core/Scramble.h"
#include "dialogs/frmMsgBox.h"
#include "dialogs/frmSndBrowse.h"
#include "platform/qt/WindowTestSupport.h"

namespace kestrelon {
namespace {

using test::WhenModalOpens;

class OptionsTest : public test::WindowTest {
  protected:
    void SetUp() override {
        InitSoundEvents(app_.settings.sounds);
        for (const char* name : {"Home", "Office"}) {
            ConnectionProfile& p =
                app_.profiles.ConProf[static_cast<std::size_t>(++app_.profiles.nProfs)];
            p.Name = name;
        }
    }
    static void Retype(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
    }
    static QStringList Texts(const QComboBox* list) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i) {
            texts << list->itemText(i);
        }
        return texts;
    }
    AppSettings Stored() {
        AppSettings stored;
        InitSoundEvents(stored.sounds);
        LoadSettings(stored);
        return stored;
    }
};

TEST_F(OptionsTest, StartConOfTheConnectionManagerRoundTrips) {
    app_.settings.StartCon = -1;
    frmOptions dialog(app_);
    dialog.show();
    EXPECT_EQ(Texts(dialog.cmbStartCon),
              (QStringList{"Last Connection", "Home", "Office", "ConMan Connection"}));
    EXPECT_EQ(dialog.cmbStartCon->currentIndex(), 3);
    QTest::mouseClick(dialog.cmdOk, Qt::LeftButton);
    EXPECT_TRUE(dialog.Accepted());
    EXPECT_EQ(app_.settings.StartCon, -1);
    EXPECT_EQ(Stored().StartCon, -1);

    frmOptions second(app_);
    second.cmbStartCon->setCurrentIndex(2);
    QTest::mouseClick(second.cmdOk, Qt::LeftButton);
    EXPECT_EQ(app_.settings.StartCon, 2);

    // A number beyond the list is shown as nothing and kept as it is.
    app_.settings.StartCon = 9;
    frmOptions third(app_);
    EXPECT_EQ(third.cmbStartCon->currentIndex(), -1);
    QTest::mouseClick(third.cmdOk, Qt::LeftButton);
    EXPECT_EQ(app_.settings.StartCon, 9);
}

TEST_F(OptionsTest, LanguagesComeFromTheFilesAndDefaultStoresAnEmptyLanguage) {
    test::WriteFile(dir_.File("lngDeutsch.ini"), "[default]\n");
    app_.settings.Language = " deutsch ";
    {
        frmOptions dialog(app_);
        EXPECT_EQ(Texts(dialog.cmbLang), (QStringList{"Default (English)", "Deutsch"}));
        EXPECT_EQ(dialog.cmbLang->currentIndex(), 1);
        dialog.cmbLang->setCurrentIndex(0);
        QTest::mouseClick(dialog.cmdOk, Qt::LeftButton);
    }
    EXPECT_EQ(app_.settings.Language, "");
    EXPECT_EQ(IniReadString("Settings", "Language"), "");
    EXPECT_TRUE(fake_.messages.informations.empty()) << "English is in use: no restart needed";

    // Another language than the one in use asks for a restart, in the message box.
    bool told = false;
    WhenModalOpens([&told](QWidget* modal) {
        auto* box = qobject_cast<frmMsgBox*>(modal);
        ASSERT_NE(box, nullptr);
        told = box->lblInfo->text().contains("Restart Kestrelon");
        QTest::mouseClick(box->cmdOk, Qt::LeftButton);
    });
    frmOptions dialog(app_);
    dialog.cmbLang->setCurrentIndex(1);
    QTest::mouseClick(dialog.cmdOk, Qt::LeftButton);
    EXPECT_TRUE(told);
    EXPECT_EQ(app_.settings.Language, "Deutsch");
    EXPECT_EQ(app_.lang.LanguageInUse(), "") << "the language changes at the next start";
}

TEST_F(OptionsTest, PastedLettersInTheDialDelayCountByTheirLeadingDigits) {
    app_.settings.DialDelay = 1000;
    frmOptions dialog(app_);
    Retype(dialog.txtDialDelay, "25x0y");
    EXPECT_EQ(dialog.txtDialDelay->text(), "250") << "typed letters are discarded";
    dialog.txtDialDelay->selectAll();
    dialog.txtDialDelay->insert("12abc7");  // a paste: the key filter does not see it
    QTest::mouseClick(dialog.cmdOk, Qt::LeftButton);
    EXPECT_EQ(app_.settings.DialDelay, 12);

    frmOptions second(app_);
    second.txtDialDelay->setText("abc");
    second.txtMaxLogSize->setText("");
    QTest::mouseClick(second.cmdOk, Qt::LeftButton);
    EXPECT_EQ(app_.settings.DialDelay, 0);
    EXPECT_EQ(app_.settings.MaxLogSize, 0);
}

TEST_F(OptionsTest, LogBoxesFollowTheirTicksAndNothingIsKeptOnCancel) {
    app_.settings.ProgLog = "Program.log";
    app_.settings.DialLog = "";
    {
        frmOptions dialog(app_);
        EXPECT_TRUE(dialog.chkProgLog->isChecked());
        EXPECT_EQ(dialog.txtProgLog->text(), "Program.log");
        EXPECT_FALSE(dialog.txtDialLog->isEnabled());
        QTest::mouseClick(dialog.chkProgLog, Qt::LeftButton);
        EXPECT_TRUE(dialog.txtProgLog->text().isEmpty());
        EXPECT_FALSE(dialog.txtProgLog->isEnabled());
        QTest::mouseClick(dialog.chkDialLog, Qt::LeftButton);
        EXPECT_TRUE(dialog.txtDialLog->isEnabled());
        QTest::keyClicks(dialog.txtDialLog, "Calls.log");
        QTest::mouseClick(dialog.cmdCancel, Qt::LeftButton);
        EXPECT_FALSE(dialog.Accepted());
    }
    EXPECT_EQ(app_.settings.ProgLog, "Program.log");
    frmOptions dialog(app_);
    QTest::mouseClick(dialog.chkProgLog, Qt::LeftButton);
    QTest::mouseClick(dialog.chkDialLog, Qt::LeftButton);
    QTest::keyClicks(dialog.txtDialLog, "Calls.log");
    QTest::mouseClick(dialog.cmdOk, Qt::LeftButton);
    EXPECT_EQ(app_.settings.ProgLog, "");
    EXPECT_EQ(app_.settings.DialLog, "Calls.log");
    EXPECT_EQ(Stored().DialLog, "Calls.log");
}

TEST_F(OptionsTest, SoundStatesWorkOnACopyAndTheBrowserSetsTheFile) {
    std::filesystem::create_directories(dir_.File("Sounds"));
    test::WriteFile(dir_.File("Sounds/ring.wav"), "RIFF");
    frmOptions dialog(app_);
    dialog.show();
    EXPECT_EQ(dialog.lstSounds->count(), 11);
    EXPECT_EQ(dialog.lstSounds->item(5)->text(), "Connection established");
    EXPECT_TRUE(dialog.optDisabled->isChecked()) << "Startup is off by default";
    EXPECT_FALSE(dialog.cmdSndBrowse->isEnabled());

    dialog.lstSounds->setCurrentRow(5);
    EXPECT_TRUE(dialog.optCustWav->isChecked());
    EXPECT_EQ(dialog.txtFname->text(), "Connect.wav");
    EXPECT_TRUE(dialog.cmdSndBrowse->isEnabled());

    dialog.lstSounds->setCurrentRow(0);
    QTest::mouseClick(dialog.optCustWav, Qt::LeftButton);
    EXPECT_TRUE(dialog.WorkingSounds().events[1].Enabled);
    const std::string folder = dir_.File("Sounds");
    // Cancelling the browser keeps the file as it was.
    WhenModalOpens([](QWidget* modal) {
        QTest::mouseClick(qobject_cast<frmSndBrowse*>(modal)->cmdCancel, Qt::LeftButton);
    });
    QTest::mouseClick(dialog.cmdSndBrowse, Qt::LeftButton);
    EXPECT_EQ(dialog.WorkingSounds().events[1].FName, "");
    WhenModalOpens([folder](QWidget* modal) {
        auto* browser = qobject_cast<frmSndBrowse*>(modal);
        ASSERT_NE(browser, nullptr);
        browser->SetFolder(folder);
        browser->SelectFile("ring.wav");
        QTest::mouseClick(browser->cmdOk, Qt::LeftButton);
    });
    QTest::mouseClick(dialog.cmdSndBrowse, Qt::LeftButton);
    EXPECT_EQ(dialog.WorkingSounds().events[1].FName, folder + "/ring.wav");
    EXPECT_EQ(dialog.txtFname->text(), "ring.wav");
    EXPECT_TRUE(app_.settings.sounds.events[1].FName.empty()) << "only a copy until OK";

    QTest::mouseClick(dialog.cmdSndPlay, Qt::LeftButton);
    ASSERT_EQ(fake_.sound.played.size(), 1u);
    EXPECT_EQ(fake_.sound.played[0].path, folder + "/ring.wav");

    dialog.lstSounds->setCurrentRow(4);  // Dialerror: the default beep
    EXPECT_TRUE(dialog.optDefault->isChecked());
    QTest::mouseClick(dialog.optDisabled, Qt::LeftButton);
    EXPECT_FALSE(dialog.WorkingSounds().events[5].Enabled);
    dialog.lstSounds->setCurrentRow(5);
    QTest::mouseClick(dialog.optDefault, Qt::LeftButton);
    EXPECT_EQ(dialog.WorkingSounds().events[6].FName, "");
    EXPECT_TRUE(dialog.txtFname->text().isEmpty());

    QTest::mouseClick(dialog.cmdOk, Qt::LeftButton);
    const AppSettings stored = Stored();
    EXPECT_EQ(stored.sounds.events[1].FName, folder + "/ring.wav");
    EXPECT_TRUE(stored.sounds.events[1].Enabled);
    EXPECT_FALSE(stored.sounds.events[5].Enabled);
    EXPECT_EQ(stored.sounds.events[6].FName, "");
}

TEST_F(OptionsTest, MailAccountsAreSixteenAtMostWithScrambledPasswords) {
    app_.settings.nMailCheck = 1;
    app_.settings.mailServers[1] = {"pop.example", "ann", ScramblePassword("pw1")};
    frmOptions dialog(app_);
    dialog.show();
    dialog.TabStrip->setCurrentIndex(3);
    EXPECT_FALSE(dialog.txtServer->isEnabled());
    EXPECT_FALSE(dialog.cmdDelete->isEnabled());
    dialog.lstServers->setCurrentRow(0);
    EXPECT_EQ(dialog.txtServer->text(), "pop.example");
    EXPECT_EQ(dialog.txtPWord->text(), "pw1");
    EXPECT_TRUE(dialog.cmdDelete->isEnabled());

    QTest::mouseClick(dialog.cmdInsert, Qt::LeftButton);
    EXPECT_EQ(dialog.WorkingMailCount(), 2);
    EXPECT_EQ(dialog.focusWidget(), dialog.txtServer);
    QTest::keyClicks(dialog.txtServer, "mail host:110");
    EXPECT_EQ(dialog.txtServer->text(), "mailhost:110") << "a blank is no host character";
    QTest::keyClicks(dialog.txtUName, "bob");
    QTest::keyClicks(dialog.txtPWord, "pw2");
    EXPECT_EQ(dialog.lstServers->item(1)->text(), "mailhost:110");
    EXPECT_EQ(dialog.WorkingMailServer(2).Pass, ScramblePassword("pw2"));

    for (int i = 3; i <= 16; ++i) {
        QTest::mouseClick(dialog.cmdInsert, Qt::LeftButton);
    }
    EXPECT_EQ(dialog.WorkingMailCount(), 16);
    QTest::mouseClick(dialog.cmdInsert, Qt::LeftButton);
    EXPECT_EQ(dialog.WorkingMailCount(), 16);
    EXPECT_EQ(dialog.lstServers->count(), 16);

    // Deleting moves the later accounts up.
    dialog.lstServers->setCurrentRow(0);
    QTest::mouseClick(dialog.cmdDelete, Qt::LeftButton);
    EXPECT_EQ(dialog.WorkingMailCount(), 15);
    EXPECT_EQ(dialog.WorkingMailServer(1).Server, "mailhost:110");
    EXPECT_EQ(dialog.lstServers->currentRow(), -1);
    EXPECT_FALSE(dialog.txtServer->isEnabled());

    QTest::mouseClick(dialog.cmdOk, Qt::LeftButton);
    const AppSettings stored = Stored();
    EXPECT_EQ(stored.nMailCheck, 15);
    EXPECT_EQ(stored.mailServers[1].UName, "bob");
    EXPECT_EQ(UnscramblePassword(stored.mailServers[1].Pass), "pw2");
}

TEST_F(OptionsTest, DeletingTheOnlyMailAccountLeavesAnEmptyListAndDisabledBoxes) {
    app_.settings.nMailCheck = 1;
    app_.settings.mailServers[1] = {"pop.example", "ann", ""};
    frmOptions dialog(app_);
    dialog.lstServers->setCurrentRow(0);
    QTest::mouseClick(dialog.cmdDelete, Qt::LeftButton);
    EXPECT_EQ(dialog.lstServers->count(), 0);
    for (QWidget* w : std::initializer_list<QWidget*>{dialog.txtServer, dialog.txtUName,
                                                      dialog.txtPWord, dialog.cmdDelete}) {
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    }
    EXPECT_TRUE(dialog.txtServer->text().isEmpty());
}

TEST_F(OptionsTest, GeneralBoxesMailProgramAndIntervalReachTheSettings) {
    frmOptions dialog(app_);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.chkStartHidden->click();
    dialog.chkHangup->click();
    dialog.chooseProgram = [](const std::string&) { return std::string("/usr/bin/mutt"); };
    QTest::mouseClick(dialog.cmdBrwseProg, Qt::LeftButton);
    EXPECT_EQ(dialog.txtMailProg->text(), "/usr/bin/mutt");
    dialog.TabStrip->setCurrentIndex(3);
    Retype(dialog.txtInterval, "15m");
    QTest::mouseClick(dialog.cmdOk, Qt::LeftButton);
    EXPECT_TRUE(app_.settings.StartHidden);
    EXPECT_TRUE(app_.settings.Hangup);
    EXPECT_FALSE(app_.settings.StartDial);
    EXPECT_EQ(app_.settings.EmailProg, "/usr/bin/mutt");
    EXPECT_EQ(app_.settings.EmailInterval, 15);
    EXPECT_FALSE(OptionsDialogOpen());
}

TEST_F(OptionsTest, TheOpenFlagAndF1PerTab) {
    EXPECT_FALSE(OptionsDialogOpen());
    bool openMeanwhile = false;
    WhenModalOpens([&openMeanwhile](QWidget* modal) {
        openMeanwhile = OptionsDialogOpen();
        auto* dialog = qobject_cast<frmOptions*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->TabStrip->setCurrentIndex(3);
        EXPECT_EQ(dialog->CurrentTab(), 4);
        QTest::mouseClick(dialog->cmdCancel, Qt::LeftButton);
    });
    EXPECT_FALSE(ShowOptions(app_, nullptr));
    EXPECT_TRUE(openMeanwhile);
    EXPECT_FALSE(OptionsDialogOpen());
}

}  // namespace
}  // namespace kestrelon
