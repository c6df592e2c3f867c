#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <Foundation/NSException.h>
#include <Foundation/SDKEventLog.h>
#include <Foundation/SDKNetworkSettings.h>
#include <Foundation/dispatch.h>

namespace {

using namespace std::chrono_literals;

// Drains the main queue until `done` holds or five seconds pass.
bool drainUntil(const std::function<bool()>& done) {
    auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        DispatchMainQueue::drainWaiting(0.05);
    }
    return true;
}

// Counts down from `expected`; waits, off the main queue, until it reaches 0.
class Countdown {
public:
    explicit Countdown(int expected) : _remaining(expected) {}
    void arrive() {
        std::lock_guard lock(_mutex);
        if (--_remaining == 0) {
            _reached.notify_all();
        }
    }
    bool wait(std::chrono::seconds limit) {
        std::unique_lock lock(_mutex);
        return _reached.wait_for(lock, limit, [this] { return _remaining <= 0; });
    }

private:
    std::mutex _mutex;
    std::condition_variable _reached;
    int _remaining;
};

class Dispatch : public testing::Test {
protected:
    void SetUp() override { DispatchMainQueue::markMainThread(); }
    void TearDown() override { DispatchMainQueue::drain(); }
};

} // namespace

TEST_F(Dispatch, MainQueueRunsBlocksInOrderIncludingThoseTheyQueue) {
    std::vector<int> order;
    for (int index = 0; index < 5; ++index) {
        dispatch_async(dispatch_get_main_queue(), [&order, index] {
            order.push_back(index);
            if (index == 0) {
                dispatch_async(dispatch_get_main_queue(), [&order] { order.push_back(5); });
            }
        });
    }
    EXPECT_TRUE(order.empty());
    EXPECT_EQ(DispatchMainQueue::drain(), 6u);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(DispatchMainQueue::drain(), 0u);
}

TEST_F(Dispatch, GlobalQueueWorksOffTheMainThreadAndHandsBack) {
    const auto mainThread = std::this_thread::get_id();
    std::atomic<bool> ranOffMain{false};
    std::vector<int> handedBack;
    bool handedBackOnMain = true;
    dispatch_async(dispatch_get_global_queue(0, 0), [&] {
        ranOffMain = std::this_thread::get_id() != mainThread && !DispatchMainQueue::isMainThread();
        for (int index = 0; index < 3; ++index) {
            dispatch_async(dispatch_get_main_queue(), [&, index] {
                handedBackOnMain = handedBackOnMain && DispatchMainQueue::isMainThread();
                handedBack.push_back(index);
            });
        }
    });
    ASSERT_TRUE(drainUntil([&] { return handedBack.size() == 3; }));
    EXPECT_TRUE(ranOffMain);
    EXPECT_TRUE(handedBackOnMain);
    EXPECT_EQ(handedBack, (std::vector<int>{0, 1, 2}));
}

TEST_F(Dispatch, ManyConcurrentSubmissionsAllRun) {
    constexpr int kThreads = 8;
    constexpr int kBlocksEach = 250;
    std::atomic<int> ran{0};
    Countdown done(kThreads * kBlocksEach);
    std::vector<std::thread> submitters;
    for (int thread = 0; thread < kThreads; ++thread) {
        submitters.emplace_back([&] {
            for (int block = 0; block < kBlocksEach; ++block) {
                dispatch_async(dispatch_get_global_queue(0, 0), [&] {
                    ++ran;
                    done.arrive();
                });
            }
        });
    }
    for (auto& submitter : submitters) {
        submitter.join();
    }
    ASSERT_TRUE(done.wait(10s));
    EXPECT_EQ(ran, kThreads * kBlocksEach);
}

TEST_F(Dispatch, BlockedBlocksDoNotStarveTheQueue) {
    // Each block waits for all the others to have started: this completes only
    // if the pool runs them all at once, as libdispatch does for blocked work.
    constexpr int kBlocks = 12;
    Countdown started(kBlocks);
    Countdown finished(kBlocks);
    std::atomic<int> sawAll{0};
    for (int block = 0; block < kBlocks; ++block) {
        dispatch_async(dispatch_get_global_queue(0, 0), [&] {
            started.arrive();
            if (started.wait(5s)) {
                ++sawAll;
            }
            finished.arrive();
        });
    }
    ASSERT_TRUE(finished.wait(10s));
    EXPECT_EQ(sawAll, kBlocks);
}

TEST_F(Dispatch, OnceRunsOnceAcrossThreads) {
    // A flag of this run's own, so that a repeated run starts unflagged.
    dispatch_once_t once;
    std::atomic<int> calls{0};
    std::atomic<int> sawValue{0};
    int value = 0;
    std::vector<std::thread> threads;
    for (int thread = 0; thread < 16; ++thread) {
        threads.emplace_back([&] {
            dispatch_once(&once, [&] {
                ++calls;
                std::this_thread::sleep_for(10ms);
                value = 42;
            });
            if (value == 42) {
                ++sawValue;
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(sawValue, 16);
}

TEST_F(Dispatch, DrainWaitingWaitsForWorkOrTimesOut) {
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(DispatchMainQueue::drainWaiting(0.05), 0u);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 45ms);

    std::atomic<bool> ran{false};
    dispatch_async(dispatch_get_global_queue(0, 0), [&] {
        std::this_thread::sleep_for(20ms);
        dispatch_async(dispatch_get_main_queue(), [&] { ran = true; });
    });
    start = std::chrono::steady_clock::now();
    EXPECT_EQ(DispatchMainQueue::drainWaiting(5.0), 1u);
    EXPECT_TRUE(ran);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
}

TEST_F(Dispatch, QueuesAndMisuse) {
    dispatch_queue_t global = dispatch_get_global_queue(0, 0);
    ASSERT_NE(global, nullptr);
    EXPECT_EQ(dispatch_get_global_queue(2, 0), global);
    EXPECT_NE(global, dispatch_get_main_queue());
    EXPECT_EQ(dispatch_get_global_queue(0, 1), nullptr);
    EXPECT_EQ(dispatch_get_global_queue(12345, 0), nullptr);
    EXPECT_THROW(dispatch_async(nullptr, [] {}), NSException);
    EXPECT_THROW(dispatch_async(global, dispatch_block_t()), NSException);

    EXPECT_TRUE(DispatchMainQueue::isMainThread());
    bool threw = false;
    bool isMain = true;
    std::thread other([&] {
        isMain = DispatchMainQueue::isMainThread();
        try {
            DispatchMainQueue::drain();
        } catch (const NSException&) {
            threw = true;
        }
    });
    other.join();
    EXPECT_FALSE(isMain);
    EXPECT_TRUE(threw);
}

// A worker still running while the process exits finds the state it shares
// with the main thread intact, however late in the exit it reads it.
TEST_F(Dispatch, WorkersStillRunningAtExitFindSharedStateIntact) {
    // Run in a fresh process: a fork would not hold the pool's workers.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            // Registered before the state exists, so it runs after anything
            // torn down at exit, and gives the workers time to read.
            std::atexit([] { std::this_thread::sleep_for(50ms); });
            SDKNetworkSettings::setConnectTo({"example.com:443:127.0.0.1:1"});
            SDKEventLog::logError("a logged error");
            std::atomic<bool> running{false};
            for (int worker = 0; worker < 2; ++worker) {
                dispatch_async(dispatch_get_global_queue(0, 0), [&running] {
                    running = true;
                    for (;;) {
                        if (SDKNetworkSettings::current().connectTo.size() != 1 ||
                            SDKEventLog::events().empty()) {
                            std::_Exit(3);
                        }
                    }
                });
            }
            while (!running) {
                std::this_thread::yield();
            }
            std::exit(0);
        },
        testing::ExitedWithCode(0), "");
}
