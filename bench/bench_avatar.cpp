// The avatar read must never hold up the main queue: while the avatar
// service accepts the request and never answers, the main thread makes the
// author button, then keeps taking taps through the window and running
// queued blocks. Reported: the longest the main queue waited for its thread
// (the initialiser included), which must stay under 5 ms; and, apart, the
// longest the initialiser took. The same loop without a read is the baseline:
// on a loaded machine the scheduler's own pauses show in both.

#include <algorithm>
#include <chrono>
#include <thread>

#include <benchmark/benchmark.h>

#include <Foundation/dispatch.h>
#include <UIKit/UIWindow.h>

#include "KLMultiPurposeButton.h"
#include "LoopbackNetwork.h"
#include "automation/Finger.h"

namespace {

using Clock = std::chrono::steady_clock;

// How long the main thread keeps turning during each hung read.
constexpr auto kWatch = std::chrono::milliseconds(200);

double milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

// Makes an author button for `handle` each iteration and keeps the main
// thread turning for kWatch while its read (if any) hangs.
void watchMainQueue(benchmark::State& state, const char* handle) {
    DispatchMainQueue::markMainThread();
    LoopbackNetwork network(KL_AVATAR_HOST);
    network.server->setAnswer("/twitter/silent", LoopbackHTTPSServer::Answer::Silent);
    Ref<UIWindow> window = alloc<UIWindow>()->initWithFrame(CGRectMake(0, 0, 390, 844));
    // The first text laid out loads the fonts; that is not the read's doing.
    Ref<KLMultiPurposeButton> warmUp = alloc<KLMultiPurposeButton>()->initWithFrame(
        CGRectMake(100, 100, 85, 30), "Developer", "", false);
    window->addSubview(warmUp);
    Finger(window).tapInWindow(CGPointMake(140, 115));
    warmUp->removeFromSuperview();
    double longestStall = 0;
    double longestInit = 0;
    long taps = 0;
    for (auto _ : state) {
        const auto made = Clock::now();
        Ref<KLMultiPurposeButton> button = alloc<KLMultiPurposeButton>()->initWithFrame(
            CGRectMake(100, 100, 85, 30), "Developer", handle, false);
        longestInit = std::max(longestInit, milliseconds(Clock::now() - made));
        window->addSubview(button);
        const auto end = Clock::now() + kWatch;
        while (Clock::now() < end) {
            const auto posted = Clock::now();
            Clock::time_point ran;
            dispatch_async(dispatch_get_main_queue(), [&ran] { ran = Clock::now(); });
            Finger(window).tapInWindow(CGPointMake(140, 115));
            DispatchMainQueue::drainWaiting(0.001);
            longestStall = std::max(longestStall, milliseconds(ran - posted));
            ++taps;
            // A tap a millisecond, as a busy finger would not manage.
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        button->removeFromSuperview();
    }
    // Let the hung reads end before the server goes.
    network.server->releaseSilence();
    state.counters["longest_stall_ms"] = std::max(longestStall, longestInit);
    state.counters["longest_init_ms"] = longestInit;
    state.counters["taps"] = static_cast<double>(taps);
}
void BM_MainQueueDuringHungAvatarRead(benchmark::State& state) {
    watchMainQueue(state, "silent");
}
BENCHMARK(BM_MainQueueDuringHungAvatarRead)->Iterations(10)->Unit(benchmark::kMillisecond);

// The same main loop with no read at all: what the machine itself costs.
void BM_MainQueueWithoutRead(benchmark::State& state) {
    watchMainQueue(state, "");
}
BENCHMARK(BM_MainQueueWithoutRead)->Iterations(10)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
