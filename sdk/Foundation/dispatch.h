#pragma once

#include <functional>
#include <mutex>

// libdispatch as the rows use it: a main queue that the host drains on its main
// thread, a default-priority global queue backed by a pool of worker threads,
// and one-time initialisation.
class DispatchQueue;
using dispatch_queue_t = DispatchQueue*;
using dispatch_block_t = std::function<void()>;
using dispatch_once_t = std::once_flag;

dispatch_queue_t dispatch_get_main_queue();
// identifier 0 is DISPATCH_QUEUE_PRIORITY_DEFAULT; flags must be 0.
dispatch_queue_t dispatch_get_global_queue(long identifier, unsigned long flags);
void dispatch_async(dispatch_queue_t queue, dispatch_block_t block);

template <class Callable> void dispatch_once(dispatch_once_t* predicate, Callable&& block) {
    std::call_once(*predicate, std::forward<Callable>(block));
}

// The host's side of the main queue. The thread that first asks for the main
// queue (or calls markMainThread) is the main thread.
class DispatchMainQueue {
public:
    DispatchMainQueue() = delete;
    static void markMainThread();
    static bool isMainThread();
    // Runs every block queued so far (and those they queue); returns how many ran.
    static size_t drain();
    // Waits up to `seconds` for at least one block, then drains; returns how many ran.
    static size_t drainWaiting(double seconds);
    // Runs the main queue while work is under way on the global queue (queued
    // or running), until both are idle or `seconds` have passed; answers
    // whether everything finished in time.
    static bool drainUntilIdle(double seconds);
};
