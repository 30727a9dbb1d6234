#include "mainwindow/frmMain.h"

#include <QAction>
#include <QTest>

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

}  // namespace
}  // namespace kestrelon
