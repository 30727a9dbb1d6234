#include "mainwindow/frmMain.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <filesystem>

#include "dialer/DialSessionController.h"
#include "dialer/RasFunc.h"
#include "dialer/SimulatedRas.h"

#include "platform/qt/WindowTestSupport.h"

namespace kestrelon {
namespace {

using MainWindowTest = test::WindowTest;

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
    Load();
    EXPECT_EQ(window_.lstConProf->count(), 0);
    EXPECT_EQ(app_.SelProfile, 0);
    EXPECT_FALSE(window_.cmdDial->isEnabled());
    EXPECT_FALSE(window_.cmdDisc->isEnabled());
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

}  // namespace
}  // namespace kestrelon
