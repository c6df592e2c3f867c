#include "EventStream.h"

void EventStream::publish(const std::string& kind, const std::string& data) {
    {
        std::lock_guard lock(_mutex);
        _events.push_back({++_lastId, kind, data});
        if (_events.size() > kKept) {
            _events.pop_front();
        }
    }
    _changed.notify_all();
}

std::vector<EventStream::Event> EventStream::eventsAfter(size_t after,
                                                         std::chrono::milliseconds wait) {
    std::unique_lock lock(_mutex);
    _changed.wait_for(lock, wait, [&] { return _closed || _lastId > after; });
    std::vector<Event> found;
    if (_closed) {
        return found;
    }
    for (const Event& event : _events) {
        if (event.id > after) {
            found.push_back(event);
        }
    }
    return found;
}

size_t EventStream::lastId() const {
    std::lock_guard lock(_mutex);
    return _lastId;
}

void EventStream::close() {
    {
        std::lock_guard lock(_mutex);
        _closed = true;
    }
    _changed.notify_all();
}

bool EventStream::isClosed() const {
    std::lock_guard lock(_mutex);
    return _closed;
}

std::string EventStream::format(const Event& event) {
    std::string text = "id: " + std::to_string(event.id) + "\nevent: " + event.kind + "\n";
    size_t start = 0;
    for (;;) {
        const size_t end = event.data.find('\n', start);
        text += "data: " + event.data.substr(start, end - start) + "\n";
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return text + "\n";
}
