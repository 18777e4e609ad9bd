// The forms' work-pattern worker: paced, synchronous with the user-interface
// thread, and stopped without running again or waiting on that thread.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QObject>
#include <QTest>
#include <atomic>
#include <chrono>
#include <thread>

#include "gui/employees/CheckWorkType.h"
#include "support/GuiTestSupport.h"

namespace pb::test {
namespace {

using namespace std::chrono_literals;

TEST(CheckWorkTypeTest, RunsOnTheUserInterfaceThreadAtAPace) {
    QObject target;
    std::atomic<int> runs{0};
    std::atomic<bool> onUiThread{true};
    const auto uiThread = std::this_thread::get_id();
    TCheckWorkType worker(&target, [&] {
        ++runs;
        if (std::this_thread::get_id() != uiThread)
            onUiThread = false;
    });
    // Normal priority here: the pace is what is measured, not the scheduler.
    worker.start();
    ProcessEvents(500);
    worker.Stop();
    EXPECT_TRUE(onUiThread);
    // About ten passes in half a second: working, but not spinning.
    EXPECT_GE(runs.load(), 2);
    EXPECT_LE(runs.load(), 20);
    EXPECT_EQ(worker.Passes(), runs.load());
}

TEST(CheckWorkTypeTest, StopsWhileAPassWaitsForTheBusyUserInterfaceThread) {
    QObject target;
    int runs = 0;
    TCheckWorkType worker(&target, [&] { ++runs; });
    worker.StartIdle();
    // Keep the user-interface thread away from its events: the worker posts a
    // pass and waits for it.
    std::this_thread::sleep_for(100ms);
    QElapsedTimer timer;
    timer.start();
    worker.Stop();
    EXPECT_LT(timer.elapsed(), 500);
    EXPECT_TRUE(worker.isFinished());
    // The pass that was waiting never runs.
    ProcessEvents(100);
    EXPECT_EQ(runs, 0);
}

TEST(CheckWorkTypeTest, NothingRunsAfterTheTargetIsGone) {
    int runs = 0;
    {
        QObject target;
        TCheckWorkType worker(&target, [&] { ++runs; });
        worker.StartIdle();
        ProcessEvents(120);
        worker.Stop();
        const int before = runs;
        ProcessEvents(120);
        EXPECT_EQ(runs, before);
    }
    const int after = runs;
    ProcessEvents(120);
    EXPECT_EQ(runs, after);
}

}  // namespace
}  // namespace pb::test
