#include <Foundation/SDKEventLog.h>

#include <cstdio>
#include <cstdlib>

namespace {

std::mutex& logMutex() {
    static std::mutex mutex;
    return mutex;
}

std::vector<SDKEvent>& storage() {
    static std::vector<SDKEvent> events;
    return events;
}

} // namespace

void SDKEventLog::record(std::string kind, Value::Dictionary details) {
    std::lock_guard lock(logMutex());
    storage().push_back({std::move(kind), std::move(details)});
}

void SDKEventLog::logError(const std::string& message) {
    if (std::getenv("KL_LOG_ERRORS")) {
        std::fprintf(stderr, "%s\n", message.c_str());
    }
    record("error", {{"message", message}});
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

std::vector<SDKEvent> SDKEventLog::eventsOfKind(const std::string& kind) {
    std::lock_guard lock(logMutex());
    std::vector<SDKEvent> matching;
    for (const SDKEvent& event : storage()) {
        if (event.kind == kind) {
            matching.push_back(event);
        }
    }
    return matching;
}

void SDKEventLog::clear() {
    std::lock_guard lock(logMutex());
    storage().clear();
}
