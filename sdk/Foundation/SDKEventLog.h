#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <Foundation/SDKEvent.h>

// What the page asked of the system: screens presented and dismissed,
// transitions, URLs opened, notifications posted, programs spawned, relaunch
// requests, and errors the platform would log. Hosts read it back to show a
// tweak developer what happened.
class SDKEventLog {
public:
    using Listener = std::function<void(const SDKEvent& event)>;
    // Ends its subscription when the last copy goes.
    using Subscription = std::shared_ptr<void>;

    SDKEventLog() = delete;

    // Calls the listener with every event recorded from now on, as it is
    // recorded (once it is in the log), on the thread that records it.
    static Subscription subscribe(Listener listener);

    static void record(SDKEvent event);
    // A message the platform would write to the system log.
    static void logError(const std::string& message);
    static std::vector<SDKEvent> events();
    // The events recorded from the index `first` on (none when the log
    // holds no more), so that a reader that remembers how far it has read
    // copies only what is new.
    static std::vector<SDKEvent> eventsFrom(size_t first);
    // The records of one kind among them.
    template <class Record> static std::vector<Record> records(size_t first = 0) {
        std::vector<Record> found;
        for (SDKEvent& event : eventsFrom(first)) {
            if (Record* record = std::get_if<Record>(&event)) {
                found.push_back(std::move(*record));
            }
        }
        return found;
    }
    static size_t count();
    static void clear();
};
