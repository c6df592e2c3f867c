#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <Foundation/Value.h>

// What the page asked of the system: screens presented and dismissed,
// transitions, URLs opened, notifications posted, programs spawned, relaunch
// requests, and errors the platform would log. Hosts read it back to show a
// tweak developer what happened.
struct SDKEvent {
    std::string kind;
    Value::Dictionary details;
};

class SDKEventLog {
public:
    using Listener = std::function<void(const SDKEvent& event)>;
    // Ends its subscription when the last copy goes.
    using Subscription = std::shared_ptr<void>;

    SDKEventLog() = delete;

    // Calls the listener with every event recorded from now on, as it is
    // recorded (once it is in the log), on the thread that records it.
    static Subscription subscribe(Listener listener);

    static void record(std::string kind, Value::Dictionary details = {});
    // A message the platform would write to the system log.
    static void logError(const std::string& message);
    static std::vector<SDKEvent> events();
    // The events recorded from the index `first` on (none when the log
    // holds no more), so that a reader that remembers how far it has read
    // copies only what is new.
    static std::vector<SDKEvent> eventsFrom(size_t first);
    static size_t count();
    static std::vector<SDKEvent> eventsOfKind(const std::string& kind);
    static void clear();
};
