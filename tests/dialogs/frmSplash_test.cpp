#include "dialogs/frmSplash.h"

#include <QLabel>
#include <QTest>
#include <QTimer>

#include "core/CheckVersion.h"
#include "platform/qt/WindowTestSupport.h"

namespace kestrelon {
namespace {

using SplashTest = test::WindowTest;

TEST_F(SplashTest, ShowsNameAndVersionWithoutTakingTheFocus) {
    frmSplash splash(app_);
    EXPECT_EQ(splash.Label1->text(), "Kestrelon 2000");
    EXPECT_EQ(splash.lblVersion->text(), QString::fromStdString("Version " + ProgramVersionText()));
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(splash.testAttribute(Qt::WA_ShowWithoutActivating));
}

TEST_F(SplashTest, ClosesByItselfOnceItsTimeIsUp) {
    frmSplash splash(app_);
    EXPECT_FALSE(splash.Timer->isActive());
    splash.show();
    EXPECT_TRUE(splash.Timer->isActive());
    EXPECT_EQ(splash.Timer->interval(), frmSplash::kShowMilliseconds);
    // The timer's length is checked above; a short one shows what its end does.
    splash.Timer->start(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !splash.isVisible(); }));
}

TEST_F(SplashTest, AClickOnThePictureClosesIt) {
    frmSplash splash(app_);
    splash.show();
    QTest::mouseClick(splash.Image1, Qt::LeftButton);
    EXPECT_FALSE(splash.isVisible());
}

}  // namespace
}  // namespace kestrelon
