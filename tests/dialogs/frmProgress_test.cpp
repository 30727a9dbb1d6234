#include "dialogs/frmProgress.h"

#include <QProgressBar>
#include <QTest>
#include <QTimer>

#include "platform/qt/WindowTestSupport.h"

namespace kestrelon {
namespace {

using ProgressTest = test::WindowTest;

TEST_F(ProgressTest, TheBarFollowsTheProgressOnItsOwnTimer) {
    UseLanguage("Deutsch", "working=Bitte warten...\n");
    frmProgress progress(app_);
    EXPECT_EQ(progress.windowTitle(), "Bitte warten...");
    progress.show();
    EXPECT_TRUE(progress.tmrWorking->isActive());
    EXPECT_EQ(progress.tmrWorking->interval(), frmProgress::kRefreshMilliseconds);

    // Setting the number does not paint; the next tick does.
    progress.SetProgress(40);
    EXPECT_EQ(progress.pbProgress->value(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return progress.pbProgress->value() == 40; }, 2000));
    progress.SetProgress(100);
    EXPECT_TRUE(QTest::qWaitFor([&] { return progress.pbProgress->value() == 100; }, 2000));
}

}  // namespace
}  // namespace kestrelon
