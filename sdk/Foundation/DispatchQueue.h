#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>

#include <Foundation/dispatch.h>

// A FIFO of blocks. The main queue is drained by the host on its main thread;
// a concurrent queue runs its blocks on worker threads that it starts as work
// arrives, one more whenever every worker is busy, up to a limit.
class DispatchQueue {
public:
    enum class Kind { Main, Concurrent };

    explicit DispatchQueue(Kind kind) : _kind(kind) {}
    DispatchQueue(const DispatchQueue&) = delete;
    DispatchQueue& operator=(const DispatchQueue&) = delete;

    void async(dispatch_block_t block);

    // Main queue: runs blocks one at a time, in order, until none is queued;
    // returns how many ran.
    size_t drain();
    // Main queue: waits up to `seconds` for a block to be queued, then drains.
    size_t drainWaiting(double seconds);

    // Whether no block is queued or running.
    bool isIdle();

    // Concurrent queue: at exit, drops the blocks not yet started and lets idle
    // workers end. Blocks already running finish, or end with the process.
    void stop();

private:
    void work();

    const Kind _kind;
    std::mutex _mutex;
    std::condition_variable _queued;
    std::deque<dispatch_block_t> _blocks;
    size_t _workers = 0;
    size_t _idleWorkers = 0;
    size_t _running = 0;
    bool _stopped = false;
};
