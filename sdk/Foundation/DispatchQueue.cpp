#include <Foundation/DispatchQueue.h>

#include <chrono>
#include <thread>

namespace {

// Workers blocked in synchronous work (a network read) keep their thread, so
// the pool grows past the core count; this bounds it, as libdispatch does.
constexpr size_t kMaximumWorkers = 64;

} // namespace

void DispatchQueue::async(dispatch_block_t block) {
    std::lock_guard lock(_mutex);
    if (_stopped) {
        return;
    }
    _blocks.push_back(std::move(block));
    if (_kind == Kind::Concurrent && _blocks.size() > _idleWorkers && _workers < kMaximumWorkers) {
        // Workers are detached and the queue is never destroyed, so a worker
        // still running while the process exits touches nothing freed.
        std::thread([this] { work(); }).detach();
        ++_workers;
        return;
    }
    _queued.notify_one();
}

size_t DispatchQueue::drain() {
    size_t ran = 0;
    for (;;) {
        dispatch_block_t block;
        {
            std::lock_guard lock(_mutex);
            if (_blocks.empty()) {
                return ran;
            }
            block = std::move(_blocks.front());
            _blocks.pop_front();
        }
        // Run unlocked: a block may queue more, or drain a nested loop.
        block();
        ++ran;
    }
}

size_t DispatchQueue::drainWaiting(double seconds) {
    {
        std::unique_lock lock(_mutex);
        const auto queued = [this] { return !_blocks.empty(); };
        // Beyond about thirty years the wait is treated as unbounded, which
        // also keeps the duration from overflowing the clock.
        if (seconds > 1e9) {
            _queued.wait(lock, queued);
        } else if (seconds > 0) {
            _queued.wait_for(lock, std::chrono::duration<double>(seconds), queued);
        }
    }
    return drain();
}

bool DispatchQueue::isIdle() {
    std::lock_guard lock(_mutex);
    return _blocks.empty() && _running == 0;
}

void DispatchQueue::stop() {
    std::deque<dispatch_block_t> dropped;
    {
        std::lock_guard lock(_mutex);
        _stopped = true;
        dropped.swap(_blocks);
        _queued.notify_all();
    }
    // Released unlocked: a block's captures may queue work as they go.
}

void DispatchQueue::work() {
    std::unique_lock lock(_mutex);
    for (;;) {
        ++_idleWorkers;
        _queued.wait(lock, [this] { return _stopped || !_blocks.empty(); });
        --_idleWorkers;
        if (_stopped) {
            --_workers;
            return;
        }
        dispatch_block_t block = std::move(_blocks.front());
        _blocks.pop_front();
        ++_running;
        lock.unlock();
        block();
        // The block's captures are released before the lock is taken again.
        block = nullptr;
        lock.lock();
        --_running;
    }
}
