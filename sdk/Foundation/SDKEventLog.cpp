#include <Foundation/SDKEventLog.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace {

// Each state below is never destroyed: a worker may still use it while the
// process exits.
std::mutex& logMutex() {
    static std::mutex& mutex = *new std::mutex;
    return mutex;
}

std::vector<SDKEvent>& storage() {
    static auto& events = *new std::vector<SDKEvent>;
    return events;
}

// The listeners subscribed now, each held by its subscription.
std::vector<std::weak_ptr<SDKEventLog::Listener>>& listeners() {
    static auto& subscribed = *new std::vector<std::weak_ptr<SDKEventLog::Listener>>;
    return subscribed;
}

} // namespace

SDKEventLog::Subscription SDKEventLog::subscribe(Listener listener) {
    auto held = std::make_shared<Listener>(std::move(listener));
    std::lock_guard lock(logMutex());
    listeners().push_back(held);
    return held;
}

void SDKEventLog::record(SDKEvent event) {
    std::vector<std::shared_ptr<Listener>> hearing;
    {
        std::lock_guard lock(logMutex());
        storage().push_back(event);
        auto& subscribed = listeners();
        std::erase_if(subscribed,
                      [](const std::weak_ptr<Listener>& listener) { return listener.expired(); });
        for (const std::weak_ptr<Listener>& listener : subscribed) {
            if (std::shared_ptr<Listener> live = listener.lock()) {
                hearing.push_back(std::move(live));
            }
        }
    }
    // Outside the lock, so that a listener may read the log.
    for (const std::shared_ptr<Listener>& listener : hearing) {
        (*listener)(event);
    }
}

void SDKEventLog::logError(const std::string& message) {
    if (std::getenv("KL_LOG_ERRORS")) {
        std::fprintf(stderr, "%s\n", message.c_str());
    }
    record(SDKEvents::Error{message});
}

std::vector<SDKEvent> SDKEventLog::events() {
    std::lock_guard lock(logMutex());
    return storage();
}

std::vector<SDKEvent> SDKEventLog::eventsFrom(size_t first) {
    std::lock_guard lock(logMutex());
    const std::vector<SDKEvent>& events = storage();
    return first < events.size() ? std::vector<SDKEvent>(events.begin() + first, events.end())
                                 : std::vector<SDKEvent>();
}

size_t SDKEventLog::count() {
    std::lock_guard lock(logMutex());
    return storage().size();
}

void SDKEventLog::clear() {
    std::lock_guard lock(logMutex());
    storage().clear();
}
