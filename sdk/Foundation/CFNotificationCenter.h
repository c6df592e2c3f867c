#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include <objc/NSObject.h>

// The Darwin notify centre: system-wide notifications by name, which is how a
// settings page tells a tweak that its preferences changed.
class CFNotificationCenter : public NSObject {
public:
    using Observer = std::function<void(const std::string& name)>;

    static Ref<CFNotificationCenter> darwinNotifyCenter();

    // Records the post and calls every observer of the name.
    void postNotification(const std::string& name);
    void addObserver(const std::string& name, Observer observer);
    void removeAllObservers();

private:
    std::mutex _mutex;
    std::vector<std::pair<std::string, Observer>> _observers;
};
