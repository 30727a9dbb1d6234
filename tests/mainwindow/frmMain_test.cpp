#include "mainwindow/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <filesystem>

#include "core/INIio.h"
#include "dialer/DialSessionController.h"
#include "dialer/RasFunc.h"
#include "dialer/SimulatedRas.h"
#include "dialogs/frmLastError.h"
#include "dialogs/frmLog.h"
#include "dialogs/frmMsgBox.h"
#include "mainwindow/TrayCounter.h"
#include "platform/qt/QtUi.h"

#include "platform/qt/WindowTestSupport.h"

namespace kestrelon {
namespace {

using MainWindowTest = test::WindowTest;
using test::WhenModalOpens;

TEST_F(MainWindowTest, EveryMenuItemHasItsCaptionAndShortcut) {
    frmMain window(app_);
    window.LoadWindow();
    const struct {
        const char* name;
        const char* caption;
        const char* shortcut;
    } items[] = {
        {"mnuExit", "&Exit", "Ctrl+Q"},
        {"mnuAddProfile", "&Add Connection Profile...", "Ctrl+A"},
        {"mnuDelProfile", "&Delete Connection Profile", "Ctrl+X"},
        {"mnuCopyProfile", "&Copy Connection Profile", "Ctrl+C"},
        {"mnuCopyIP", "Copy &IP to Clipboard", "Ctrl+I"},
        {"mnuProgLog", "&Program Log...", "Ctrl+P"},
        {"mnuDialLog", "&Dial Log...", "Ctrl+D"},
        {"mnuErrorLog", "&Error Log...", "Ctrl+R"},
        {"mnuViewErr", "&Last Error...", "Ctrl+E"},
        {"mnuPhoneCharges", "&Telephone Charges...", "Ctrl+T"},
        {"mnuOptions", "Global &Options...", "Ctrl+O"},
        {"mnuEditProfile", "&Connection Profile Options...", "Ctrl+B"},
        {"mnuManager", "Connection &Manager...", "Ctrl+M"},
        {"mnuDisDual", "Disable DualConnect", "Ctrl+N"},
        {"mnuReadme", "&Help...", "F1"},
        {"mnuAbout", "&About...", "F12"},
    };
    for (const auto& item : items) {
        SCOPED_TRACE(item.name);
        auto* action = window.findChild<QAction*>(item.name);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->text(), item.caption);
        EXPECT_EQ(action->shortcut(), QKeySequence(item.shortcut));
    }
    EXPECT_TRUE(window.mnuDisDual->isCheckable());
    QStringList menus;
    for (QMenu* menu :
         {window.mnuMFile, window.mnuMEdit, window.mnuView, window.mnuMOptions, window.mnuMHelp}) {
        menus << menu->title();
    }
    EXPECT_EQ(menus, QStringList({"&File", "&Edit", "&View", "&Options", "&Help"}));
}

TEST_F(MainWindowTest, CaptionsComeFromTheLanguageFile) {
    UseLanguage("Deutsch", "file=&Datei\nopt2=Globale &Optionen...\ndial=Wählen\n");
    frmMain window(app_);
    window.LoadWindow();
    EXPECT_EQ(window.mnuMFile->title(), "&Datei");
    EXPECT_EQ(window.mnuOptions->text(), "Globale &Optionen...");
    EXPECT_EQ(window.cmdDial->text(), "Wählen");
    EXPECT_EQ(window.mnuExit->text(), "&Exit");
}

TEST_F(MainWindowTest, WindowsOfOtherPartsAreReachedOnceTheyAreAttached) {
    frmMain window(app_);
    window.LoadWindow();
    for (QAction* action :
         {window.mnuOptions, window.mnuAddProfile, window.mnuManager, window.mnuPhoneCharges,
          window.mnuOptionsT, window.mnuConManT, window.mnuTelKostT}) {
        EXPECT_FALSE(action->isEnabled()) << action->objectName().toStdString();
    }
    int graphs = 0;
    bool optionsSeenOpen = false;
    window.onShowOptions = [&] { optionsSeenOpen = window.OptionsOpen(); };
    window.onAddProfile = [] {};
    window.onShowConMan = [] {};
    window.onShowChargeGraph = [&] { ++graphs; };
    window.RefreshCommands();
    for (QAction* action : {window.mnuOptions, window.mnuAddProfile, window.mnuManager,
                            window.mnuPhoneCharges, window.mnuOptionsT, window.mnuTelKostT}) {
        EXPECT_TRUE(action->isEnabled()) << action->objectName().toStdString();
    }
    window.mnuOptionsT->trigger();
    EXPECT_TRUE(optionsSeenOpen);
    EXPECT_FALSE(window.OptionsOpen());
    window.mnuTelKostT->trigger();
    EXPECT_EQ(graphs, 1);
    // The profile editor needs a profile to edit.
    window.onEditProfile = [] {};
    window.RefreshCommands();
    EXPECT_FALSE(window.mnuEditProfile->isEnabled());
}

TEST_F(MainWindowTest, DisableDualConnectTogglesTheSettingAndSavesIt) {
    frmMain window(app_);
    window.LoadWindow();
    EXPECT_FALSE(window.mnuDisDual->isChecked());
    window.mnuDisDual->trigger();
    EXPECT_TRUE(app_.settings.DisDual);
    EXPECT_TRUE(window.mnuDisDual->isChecked());
    EXPECT_TRUE(IniReadBool("Settings", "DisDual"));
    window.mnuDisDualT->trigger();  // the tray twin
    EXPECT_FALSE(app_.settings.DisDual);
    EXPECT_FALSE(window.mnuDisDual->isChecked());
    EXPECT_FALSE(IniReadBool("Settings", "DisDual"));

    app_.settings.DisDual = true;
    frmMain second(app_);
    second.LoadWindow();
    EXPECT_TRUE(second.mnuDisDual->isChecked());
}

TEST_F(MainWindowTest, LoadingPutsTheIconInTheTrayAndExitRunsTheShutDown) {
    frmMain window(app_);
    window.LoadWindow();
    EXPECT_EQ(window.windowTitle(), "Kestrelon 2000");
    ASSERT_EQ(fake_.tray.icons.count(frmMain::kTrayIconId), 1U);
    EXPECT_EQ(fake_.tray.icons[frmMain::kTrayIconId].tip, "Kestrelon 2000");

    int exits = 0;
    window.onExit = [&] { ++exits; };
    window.mnuExit->trigger();
    EXPECT_EQ(exits, 1);

    window.RemoveTrayIcon();
    window.RemoveTrayIcon();
    EXPECT_TRUE(fake_.tray.icons.empty());
    EXPECT_EQ(fake_.tray.deletes, 1);
}

TEST_F(MainWindowTest, TheCloseBoxHidesTheWindowInTheTrayAndADoubleClickBringsItBack) {
    frmMain window(app_);
    window.LoadWindow();
    window.show();
    window.close();
    EXPECT_FALSE(window.isVisible());
    fake_.tray.Mouse(frmMain::kTrayIconId, TrayMouse::LeftDoubleClick);
    EXPECT_TRUE(window.isVisible());
}

TEST_F(MainWindowTest, WithoutATrayTheCloseBoxOnlyMinimizes) {
    fake_.tray.available = false;
    frmMain window(app_);
    window.LoadWindow();
    window.show();
    window.close();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isMinimized());
    EXPECT_TRUE(fake_.tray.icons.empty());
}

TEST_F(MainWindowTest, TheStoredPlaceInTwipsIsWhereTheWindowOpens) {
    test::WriteFile(dir_.File("Kestrelon.Ini"), "[Settings]\nWindowx=1500\nWindowy=3000\n");
    frmMain window(app_);
    window.LoadWindow();
    EXPECT_EQ(window.pos(), QPoint(100, 200));
    EXPECT_DOUBLE_EQ(window.LeftTwips(), 1500);
    EXPECT_DOUBLE_EQ(window.TopTwips(), 3000);
}

// The main window over the dialing engine on the simulated service.
class MainWindowDialTest : public test::WindowTest {
  protected:
    MainWindowDialTest() {
        std::filesystem::create_directories(dir_.File("ras"));
        test::WriteFile(dir_.File("ras/rasphone.pbk"),
                        "[Alpha Line]\nAnswer=silent\n[Beta Line]\n[Gamma Line]\n");
        app_.settings.ProgLog = "Program.log";
    }

    void AddProfiles(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            ConnectionProfile& p = app_.profiles.ConProf[++app_.profiles.nProfs];
            p.Name = name;
            p.Con1 = std::string(name) + " Line";
        }
    }

    void Load() {
        window_.AttachDialer(dialer_);
        window_.LoadWindow();
    }

    SimulatedRas service_{dir_.File("ras"), fake_.clock, fake_.clock};
    RasFunc ras_{service_, app_.lang};
    DialSessionController dialer_{app_, ras_, app_.profiles, app_.SelProfile};
    frmMain window_{app_};
};

TEST_F(MainWindowDialTest, WithoutProfilesNothingCanBeDialled) {
    window_.onEditProfile = [] {};
    Load();
    EXPECT_EQ(window_.lstConProf->count(), 0);
    EXPECT_EQ(app_.SelProfile, 0);
    for (QAction* action :
         {window_.mnuDial, window_.mnuEditProfile, window_.mnuDelProfile, window_.mnuCopyProfile}) {
        EXPECT_FALSE(action->isEnabled()) << action->objectName().toStdString();
    }
    EXPECT_FALSE(window_.cmdDial->isEnabled());
    EXPECT_FALSE(window_.cmdDisc->isEnabled());
}

TEST_F(MainWindowDialTest, StartConMinusOneTakesTheScheduledProfile) {
    AddProfiles({"Alpha", "Beta", "Gamma"});
    app_.settings.StartCon = -1;
    window_.scheduledConnection = [] { return 3; };
    window_.onEditProfile = [] {};
    Load();
    EXPECT_EQ(window_.lstConProf->currentRow(), 2);
    EXPECT_EQ(app_.SelProfile, 3);
    for (QAction* action :
         {window_.mnuDial, window_.mnuEditProfile, window_.mnuDelProfile, window_.mnuCopyProfile}) {
        EXPECT_TRUE(action->isEnabled()) << action->objectName().toStdString();
    }
}

TEST_F(MainWindowDialTest, TheStartSelectionFollowsStartConOrTheLastUsedProfile) {
    AddProfiles({"Alpha", "Beta", "Gamma"});
    app_.settings.StartCon = 2;
    Load();
    EXPECT_EQ(window_.lstConProf->currentRow(), 1);
    EXPECT_EQ(app_.SelProfile, 2);
    EXPECT_TRUE(window_.cmdDial->isEnabled());

    test::WriteFile(dir_.File("Kestrelon.Ini"), "[Settings]\nLastCon=3\n");
    app_.settings.StartCon = 0;
    frmMain second(app_);
    second.LoadWindow();
    EXPECT_EQ(second.lstConProf->currentRow(), 2);
    EXPECT_EQ(app_.SelProfile, 3);
}

TEST_F(MainWindowDialTest, ASelectionBeyondTheListSelectsTheLastProfile) {
    AddProfiles({"Alpha", "Beta"});
    Load();
    app_.SelProfile = 5;
    window_.UpdateConProfs();
    EXPECT_EQ(window_.lstConProf->currentRow(), 1);
    EXPECT_EQ(app_.SelProfile, 2);
}

TEST_F(MainWindowDialTest, DialAndDisconnectDriveTheSessionOfTheClickedProfile) {
    AddProfiles({"Alpha", "Beta"});
    Load();
    window_.show();
    QListWidget* list = window_.lstConProf;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(app_.SelProfile, 1);
    QTest::mouseClick(window_.cmdDial, Qt::LeftButton);
    EXPECT_TRUE(dialer_.Session().Dialing);
    EXPECT_EQ(dialer_.Session().CurProfile, 1);
    EXPECT_TRUE(window_.cmdDisc->isEnabled());
    EXPECT_EQ(window_.LastStatusLayout()->title, "DIALING");

    QTest::mouseClick(window_.cmdDisc, Qt::LeftButton);
    EXPECT_FALSE(dialer_.Session().Dialing);
    EXPECT_EQ(dialer_.Session().StatusState, kStatusAborted);
    EXPECT_FALSE(window_.cmdDisc->isEnabled());
    EXPECT_EQ(window_.LastStatusLayout()->title, "ABORTED");
}

TEST_F(MainWindowDialTest, ADoubleClickOnAProfileDialsIt) {
    AddProfiles({"Alpha", "Beta"});
    Load();
    window_.show();
    QListWidget* list = window_.lstConProf;
    const QPoint beta = list->visualItemRect(list->item(1)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, beta);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, beta);
    EXPECT_TRUE(dialer_.Session().Dialing);
    EXPECT_EQ(dialer_.Session().CurProfile, 2);
}

TEST_F(MainWindowDialTest, TheTrayMenuIsRebuiltForTheProfilesAndTheStateNow) {
    AddProfiles({"Alpha", "Beta"});
    app_.SelProfile = 2;
    Load();
    window_.ShowTrayMenu();
    EXPECT_TRUE(window_.mnuTray->isVisible());
    EXPECT_EQ(window_.mnuTray->defaultAction(), window_.mnuShow);
    EXPECT_EQ(window_.mnuDial->text(), "Dial");
    EXPECT_EQ(window_.mnuConnect->title(), "Connect");
    ASSERT_EQ(window_.mnuCons.size(), 2U);
    EXPECT_EQ(window_.mnuCons[1]->text(), "Beta");
    EXPECT_FALSE(window_.mnuCons[0]->isChecked());
    EXPECT_TRUE(window_.mnuCons[1]->isChecked());
    EXPECT_FALSE(window_.mnuDiscExitT->isVisible());
    EXPECT_FALSE(window_.mnuManagerT->isVisible());
    EXPECT_EQ(window_.mnuEditT->text(), window_.mnuEditProfile->text());
    window_.mnuTray->hide();

    AddProfiles({"Gamma"});
    app_.settings.Hangup = true;
    window_.UpdateConProfs();
    window_.ShowTrayMenu();
    ASSERT_EQ(window_.mnuCons.size(), 3U);
    EXPECT_EQ(window_.mnuConnect->actions().size(), 3);
    EXPECT_TRUE(window_.mnuDiscExitT->isVisible());
    EXPECT_EQ(window_.mnuDiscExitT->text(), "Disconnect && Exit");
    window_.mnuTray->hide();

    // An entry of the Connect submenu selects that profile and dials it.
    window_.mnuCons[2]->trigger();
    EXPECT_EQ(app_.SelProfile, 3);
    EXPECT_TRUE(dialer_.Session().Dialing);
    EXPECT_EQ(dialer_.Session().CurProfile, 3);
    window_.ShowTrayMenu();
    EXPECT_EQ(window_.mnuDial->text(), "Disconnect");
    window_.mnuTray->hide();
    window_.mnuDial->trigger();
    EXPECT_EQ(dialer_.Session().StatusState, kStatusAborted);
}

TEST_F(MainWindowDialTest, ARightClickIsIgnoredWhileTheOptionsAreOpenButNotWithTheLogViewer) {
    AddProfiles({"Alpha"});
    Load();
    bool menuDuringOptions = true;
    window_.onShowOptions = [&] {
        QDialog options(&window_);
        options.setObjectName("frmOptions");
        WhenModalOpens([&](QWidget* modal) {
            fake_.tray.Mouse(frmMain::kTrayIconId, TrayMouse::RightClick);
            menuDuringOptions = window_.mnuTray->isVisible();
            modal->close();
        });
        options.exec();
    };
    window_.RefreshCommands();
    window_.mnuOptions->trigger();
    EXPECT_FALSE(menuDuringOptions);

    // An open message box of the program keeps the menu shut too.
    bool menuDuringMessage = true;
    WhenModalOpens([&](QWidget* modal) {
        fake_.tray.Mouse(frmMain::kTrayIconId, TrayMouse::RightClick);
        menuDuringMessage = window_.mnuTray->isVisible();
        modal->close();
    });
    std::string unused;
    MsgBoxEx(app_, "Note", "Kestrelon 2000", kMsgBoxInformation, unused, 0, &window_);
    EXPECT_FALSE(menuDuringMessage);

    window_.ShowLog(0);
    ASSERT_NE(window_.LogViewer(), nullptr);
    EXPECT_TRUE(window_.LogViewer()->optLogSel[0]->isChecked());
    fake_.tray.Mouse(frmMain::kTrayIconId, TrayMouse::RightClick);
    EXPECT_TRUE(window_.mnuTray->isVisible());
    window_.mnuTray->hide();
}

TEST_F(MainWindowDialTest, DeleteAsksFirstAndCopyAddsACopyOfTheSelectedProfile) {
    AddProfiles({"Alpha", "Beta"});
    app_.SelProfile = 1;
    Load();
    window_.mnuCopyProfile->trigger();
    ASSERT_EQ(app_.profiles.nProfs, 3);
    EXPECT_EQ(app_.profiles.ConProf[3].Name, "Copy of Alpha");
    EXPECT_EQ(window_.lstConProf->item(2)->text(), "Copy of Alpha");

    std::string question;
    WhenModalOpens([&](QWidget* modal) {
        auto* box = qobject_cast<frmMsgBox*>(modal);
        ASSERT_NE(box, nullptr);
        question = FromQt(box->windowTitle() + "|" + box->lblInfo->text());
        QTest::mouseClick(box->cmdNo, Qt::LeftButton);
    });
    window_.lstConProf->setCurrentRow(2);
    window_.mnuDelProfile->trigger();
    EXPECT_EQ(question, "Delete Connection Profile|Are you sure you want to delete Copy of Alpha");
    EXPECT_EQ(app_.profiles.nProfs, 3);

    WhenModalOpens([](QWidget* modal) {
        QTest::mouseClick(qobject_cast<frmMsgBox*>(modal)->cmdYes, Qt::LeftButton);
    });
    window_.mnuDelProfile->trigger();
    EXPECT_EQ(app_.profiles.nProfs, 2);
    EXPECT_EQ(window_.lstConProf->count(), 2);
    EXPECT_EQ(app_.SelProfile, 2);  // the last one, as the number lies beyond the list now
    EXPECT_EQ(IniReadNumber("ConProf", "nProfs"), 2);
}

TEST_F(MainWindowDialTest, TheConnectionShowsInThePanelTheTipAndTheCounter) {
    AddProfiles({"Alpha", "Beta"});
    app_.profiles.ConProf[2].TrayTimer = 2;
    app_.profiles.ConProf[2].TrayColor = 14;
    app_.SelProfile = 2;
    Load();
    window_.show();
    const IconImage offline = fake_.tray.icons[frmMain::kTrayIconId].icon;
    QTest::mouseClick(window_.cmdDial, Qt::LeftButton);
    EXPECT_EQ(fake_.tray.icons[frmMain::kTrayIconId].tip,
              "Kestrelon 2000 - DIALING - Dials: 0 - Time: 0:00");
    // While dialing the picture changes about once a second.
    int changes = 0;
    IconImage last = fake_.tray.icons[frmMain::kTrayIconId].icon;
    for (int i = 0; i < 10; ++i) {
        fake_.clock.Advance(250);
        if (fake_.tray.icons[frmMain::kTrayIconId].icon != last) {
            ++changes;
            last = fake_.tray.icons[frmMain::kTrayIconId].icon;
        }
    }
    EXPECT_GE(changes, 2);
    EXPECT_LE(changes, 3);
    for (int i = 0; i < 100 && dialer_.Session().StatusState != kStatusConnected; ++i) {
        fake_.clock.Advance(100);
    }
    ASSERT_EQ(dialer_.Session().StatusState, kStatusConnected);
    EXPECT_EQ(fake_.tray.icons[frmMain::kTrayIconId].tip, "Kestrelon 2000 - Connected to Beta");
    EXPECT_EQ(window_.LastStatusLayout()->title, "CONNECTED");
    EXPECT_EQ(window_.LastStatusLayout()->rowTexts.back().value, " " + dialer_.Session().IpAddress);
    fake_.clock.Advance(62000);
    EXPECT_EQ(fake_.tray.icons[frmMain::kTrayIconId].icon,
              PlotTimeImage("001", PaletteColour(14), 0));

    window_.mnuCopyIP->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), ToQt(dialer_.Session().IpAddress));

    // Hidden, the tooltip still follows the state.
    window_.close();
    QTest::mouseClick(window_.cmdDisc, Qt::LeftButton);
    EXPECT_EQ(fake_.tray.icons[frmMain::kTrayIconId].tip,
              "Kestrelon 2000 - Disconnected from Beta");
    EXPECT_EQ(fake_.tray.icons[frmMain::kTrayIconId].icon, offline);
}

TEST_F(MainWindowDialTest, ADialErrorOpensTheLastErrorDialogUnlessSwitchedOff) {
    test::WriteFile(dir_.File("ras/rasphone.pbk"), "[Alpha Line]\nAnswer=busy\nFailMs=500\n");
    AddProfiles({"Alpha"});
    app_.SelProfile = 1;
    app_.settings.ShowError = false;
    Load();
    std::string shown;
    WhenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<frmLastError*>(modal);
        ASSERT_NE(dialog, nullptr);
        shown = FromQt(dialog->txtErrN->text());
        dialog->close();
    });
    QTest::mouseClick(window_.cmdDial, Qt::LeftButton);
    for (int i = 0; i < 60 && dialer_.Session().StatusState != kStatusConnectionError; ++i) {
        fake_.clock.Advance(100);
    }
    ASSERT_EQ(dialer_.Session().StatusState, kStatusConnectionError);
    QTRY_COMPARE_WITH_TIMEOUT(shown, std::to_string(dialer_.Session().LastErrorCode), 2000);
    EXPECT_EQ(window_.LastStatusLayout()->title, "CONNECTION ERROR");
}

TEST_F(MainWindowDialTest, AnUnknownStatusStateEndsTheProgram) {
    Load();
    int exits = 0;
    window_.onExit = [&] { ++exits; };
    dialer_.Session().StatusState = 9;
    window_.PaintStatus();
    EXPECT_EQ(exits, 1);
    ASSERT_EQ(fake_.messages.informations.size(), 1U);
    EXPECT_EQ(fake_.messages.informations[0].text,
              "Fout tijdens updaten status, neem contact op met Brokkel!");
}

}  // namespace
}  // namespace kestrelon
