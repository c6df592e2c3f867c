#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

// The server-sent events the browser follows: each has a number, a kind
// (frame, page, log) and its data, a JSON text. The latest events are kept
// so that a client that falls behind catches up; older ones are let go, so
// memory stays bounded however long the server runs.
class EventStream {
public:
    struct Event {
        size_t id = 0;
        std::string kind;
        std::string data;
    };

    void publish(const std::string& kind, const std::string& data);
    // The events after `after`, waiting up to `wait` for one to come; none
    // once the stream is closed.
    std::vector<Event> eventsAfter(size_t after, std::chrono::milliseconds wait);
    size_t lastId() const;
    // Wakes every waiting client and ends their streams.
    void close();
    bool isClosed() const;

    // One event as the text/event-stream format writes it: a data line for
    // each line of the data.
    static std::string format(const Event& event);

    static constexpr size_t kKept = 256;

private:
    mutable std::mutex _mutex;
    std::condition_variable _changed;
    std::deque<Event> _events;
    size_t _lastId = 0;
    bool _closed = false;
};
