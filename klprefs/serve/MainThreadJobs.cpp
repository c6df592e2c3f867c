#include "MainThreadJobs.h"

void MainThreadJobs::post(std::function<void()> job) {
    {
        std::lock_guard lock(_mutex);
        if (_stopped) {
            return;
        }
        _jobs.push_back(std::move(job));
    }
    _wake.notify_one();
}

void MainThreadJobs::runUntilStopped(std::chrono::milliseconds tick,
                                     const std::function<void()>& idle) {
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(_mutex);
            _wake.wait_for(lock, tick, [this] { return _stopped || !_jobs.empty(); });
            if (_stopped) {
                return;
            }
            if (!_jobs.empty()) {
                job = std::move(_jobs.front());
                _jobs.pop_front();
            }
        }
        if (job) {
            job();
        } else {
            idle();
        }
    }
}

void MainThreadJobs::stop() {
    std::deque<std::function<void()>> dropped;
    {
        std::lock_guard lock(_mutex);
        _stopped = true;
        dropped.swap(_jobs);
    }
    _wake.notify_all();
    // Dropping a waiting caller's task breaks its promise, which tells it.
}
