#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include <Foundation/NSRunLoop.h>
#include <Foundation/NSTimer.h>
#include <Foundation/dispatch.h>

namespace {

TEST(RunLoop, TimersFireInOrderAsTheHostMovesTheClockOn) {
    Ref<NSRunLoop> loop = NSRunLoop::mainRunLoop();
    const double start = loop->currentTime();
    std::vector<std::string> fired;
    Ref<NSTimer> once = NSTimer::scheduledTimerWithTimeInterval(
        0.5, false, [&](const Ref<NSTimer>&) { fired.push_back("once"); });
    Ref<NSTimer> repeating = NSTimer::scheduledTimerWithTimeInterval(
        0.2, true, [&](const Ref<NSTimer>&) { fired.push_back("every"); });

    // 0.2, 0.4, 0.5, 0.6 (the repeating one), then the one-off is gone.
    loop->runForTimeInterval(0.65);
    EXPECT_EQ(fired, (std::vector<std::string>{"every", "every", "once", "every"}));
    EXPECT_DOUBLE_EQ(loop->currentTime(), start + 0.65);
    EXPECT_FALSE(once->isValid());
    EXPECT_TRUE(repeating->isValid());

    fired.clear();
    ASSERT_TRUE(loop->fireNextTimer());
    EXPECT_DOUBLE_EQ(loop->currentTime(), start + 0.8);
    repeating->invalidate();
    EXPECT_FALSE(loop->fireNextTimer());
    EXPECT_EQ(fired, (std::vector<std::string>{"every"}));
}

TEST(RunLoop, ATimerMayInvalidateItselfAndTooShortIntervalsAreLengthened) {
    Ref<NSRunLoop> loop = NSRunLoop::mainRunLoop();
    int runs = 0;
    Ref<NSTimer> timer =
        NSTimer::scheduledTimerWithTimeInterval(-1, true, [&](const Ref<NSTimer>& self) {
            if (++runs == 3) {
                self->invalidate();
            }
        });
    EXPECT_DOUBLE_EQ(timer->timeInterval(), 0.0001);
    while (loop->fireNextTimer()) {
    }
    EXPECT_EQ(runs, 3);
}

TEST(BackgroundWork, TheHostWaitsForItAndForWhatItHandsBack) {
    DispatchMainQueue::markMainThread();
    std::atomic<bool> release{false};
    bool shown = false;
    dispatch_async(dispatch_get_global_queue(0, 0), [&] {
        while (!release) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        dispatch_async(dispatch_get_main_queue(), [&] { shown = true; });
    });
    // Still under way when the limit passes.
    EXPECT_FALSE(DispatchMainQueue::drainUntilIdle(0.05));
    EXPECT_FALSE(shown);
    release = true;
    EXPECT_TRUE(DispatchMainQueue::drainUntilIdle(10));
    EXPECT_TRUE(shown);
    // Nothing under way: done at once.
    EXPECT_TRUE(DispatchMainQueue::drainUntilIdle(0));
}

} // namespace
