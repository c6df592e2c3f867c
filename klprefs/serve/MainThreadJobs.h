#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>

// Work handed to the main thread, where the page lives: the server's threads
// and the file watcher post jobs, and the main thread runs them one at a time,
// in order. UIKit is only ever touched there.
class MainThreadJobs {
public:
    void post(std::function<void()> job);

    // Runs the job on the main thread and waits for its answer; rethrows what
    // it threw. Throws std::future_error when the jobs stopped before it ran.
    template <class T> T call(std::function<T()> job) {
        auto task = std::make_shared<std::packaged_task<T()>>(std::move(job));
        std::future<T> answer = task->get_future();
        post([task] { (*task)(); });
        return answer.get();
    }

    // Runs posted jobs until stop(); `idle` runs whenever no job came for `tick`.
    void runUntilStopped(std::chrono::milliseconds tick, const std::function<void()>& idle);
    // Ends runUntilStopped; jobs not yet run are dropped, and their callers told.
    void stop();

private:
    std::mutex _mutex;
    std::condition_variable _wake;
    std::deque<std::function<void()>> _jobs;
    bool _stopped = false;
};
