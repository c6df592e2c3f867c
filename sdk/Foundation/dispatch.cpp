#include <Foundation/dispatch.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <thread>

#include <Foundation/DispatchQueue.h>
#include <Foundation/NSException.h>

namespace {

std::atomic<std::thread::id>& mainThread() {
    static std::atomic<std::thread::id> thread;
    return thread;
}

// The first thread to ask becomes the main thread; later calls change nothing.
void claimMainThread() {
    std::thread::id none;
    mainThread().compare_exchange_strong(none, std::this_thread::get_id());
}

// Both queues live until the process ends: workers may still be running
// blocks while it exits, and must find their queue intact.
DispatchQueue& mainQueue() {
    static DispatchQueue& queue = *new DispatchQueue(DispatchQueue::Kind::Main);
    return queue;
}

DispatchQueue& globalQueue() {
    static DispatchQueue& queue = []() -> DispatchQueue& {
        auto& created = *new DispatchQueue(DispatchQueue::Kind::Concurrent);
        std::atexit([] { globalQueue().stop(); });
        return created;
    }();
    return queue;
}

bool isKnownPriority(long identifier) {
    switch (identifier) {
    // DISPATCH_QUEUE_PRIORITY_HIGH, _DEFAULT, _LOW and _BACKGROUND.
    case 2:
    case 0:
    case -2:
    case INT16_MIN:
    // QOS_CLASS_USER_INTERACTIVE, _USER_INITIATED, _DEFAULT, _UTILITY, _BACKGROUND.
    case 0x21:
    case 0x19:
    case 0x15:
    case 0x11:
    case 0x09:
        return true;
    default:
        return false;
    }
}

void requireMainThread(const char* operation) {
    claimMainThread();
    if (!DispatchMainQueue::isMainThread()) {
        throw NSException(NSInternalInconsistencyException,
                          std::string(operation) + " called off the main thread");
    }
}

} // namespace

dispatch_queue_t dispatch_get_main_queue() {
    claimMainThread();
    return &mainQueue();
}

dispatch_queue_t dispatch_get_global_queue(long identifier, unsigned long flags) {
    // Every priority shares one pool: priorities order nothing here. Unknown
    // priorities and nonzero flags get no queue, as libdispatch answers.
    if (flags != 0 || !isKnownPriority(identifier)) {
        return nullptr;
    }
    return &globalQueue();
}

void dispatch_async(dispatch_queue_t queue, dispatch_block_t block) {
    if (!queue || !block) {
        throw NSException(NSInvalidArgumentException, "dispatch_async needs a queue and a block");
    }
    queue->async(std::move(block));
}

void DispatchMainQueue::markMainThread() {
    claimMainThread();
}

bool DispatchMainQueue::isMainThread() {
    return mainThread().load() == std::this_thread::get_id();
}

size_t DispatchMainQueue::drain() {
    requireMainThread("DispatchMainQueue::drain");
    return mainQueue().drain();
}

size_t DispatchMainQueue::drainWaiting(double seconds) {
    requireMainThread("DispatchMainQueue::drainWaiting");
    return mainQueue().drainWaiting(seconds);
}

bool DispatchMainQueue::drainUntilIdle(double seconds) {
    requireMainThread("DispatchMainQueue::drainUntilIdle");
    using Clock = std::chrono::steady_clock;
    const auto deadline =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(
                           std::chrono::duration<double>(std::max(0.0, std::min(seconds, 1e9))));
    for (;;) {
        mainQueue().drain();
        if (globalQueue().isIdle() && mainQueue().isIdle()) {
            return true;
        }
        const auto now = Clock::now();
        if (now >= deadline) {
            return false;
        }
        // Woken as soon as a block is handed to the main queue.
        mainQueue().drainWaiting(
            std::min(0.01, std::chrono::duration<double>(deadline - now).count()));
    }
}
