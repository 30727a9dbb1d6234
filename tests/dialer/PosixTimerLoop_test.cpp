#include "platform/posix/PosixTimerLoop.h"

#include <sys/resource.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace kestrelon {
namespace {

using Steady = std::chrono::steady_clock;

double CpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

TEST(PosixTimerLoopTest, TimersFireInDueOrderAndQuitEndsTheRun) {
    PosixTimerLoop loop;
    std::vector<std::string> fired;
    auto late = loop.CreateTimer([&] {
        fired.push_back("late");
        loop.Quit(7);
    });
    auto early = loop.CreateTimer([&] { fired.push_back("early"); });
    auto stopped = loop.CreateTimer([&] { fired.push_back("stopped"); });
    late->StartSingleShot(60);
    early->StartSingleShot(20);
    stopped->StartSingleShot(40);
    stopped->Stop();
    EXPECT_FALSE(stopped->IsActive());

    const auto begin = Steady::now();
    EXPECT_EQ(loop.Run(), 7);
    EXPECT_GE(Steady::now() - begin, std::chrono::milliseconds(60));
    EXPECT_EQ(fired, (std::vector<std::string>{"early", "late"}));
    EXPECT_FALSE(late->IsActive());
}

TEST(PosixTimerLoopTest, SleepsUntilTheNextTimerInsteadOfSpinning) {
    PosixTimerLoop loop;
    auto timer = loop.CreateTimer([&] { loop.Quit(0); });
    timer->StartSingleShot(300);
    const double cpuBefore = CpuSeconds();
    EXPECT_EQ(loop.Run(), 0);
    EXPECT_LT(CpuSeconds() - cpuBefore, 0.1);
}

TEST(PosixTimerLoopTest, RepeatingTimerAndATimerDestroyedInItsOwnCallback) {
    PosixTimerLoop loop;
    int ticks = 0;
    std::unique_ptr<Timer> repeating;
    repeating = loop.CreateTimer([&] {
        if (++ticks == 3) {
            repeating.reset();
        }
    });
    repeating->Start(5);
    EXPECT_EQ(repeating->Interval(), 5u);
    // Nothing is left to fire once the timer is gone, so the run ends by itself.
    EXPECT_EQ(loop.Run(), PosixTimerLoop::kNothingLeft);
    EXPECT_EQ(ticks, 3);
}

TEST(PosixTimerLoopTest, ProcessEventsFiresOnlyWhatIsDue) {
    PosixTimerLoop loop;
    int now = 0;
    int later = 0;
    auto dueNow = loop.CreateTimer([&] { ++now; });
    auto dueLater = loop.CreateTimer([&] { ++later; });
    dueNow->StartSingleShot(0);
    dueLater->StartSingleShot(10000);
    loop.ProcessEvents();
    EXPECT_EQ(now, 1);
    EXPECT_EQ(later, 0);
    EXPECT_TRUE(dueLater->IsActive());
}

}  // namespace
}  // namespace kestrelon
