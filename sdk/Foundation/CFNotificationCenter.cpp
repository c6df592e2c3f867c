#include <Foundation/CFNotificationCenter.h>

#include <Foundation/SDKEventLog.h>

Ref<CFNotificationCenter> CFNotificationCenter::darwinNotifyCenter() {
    // Never destroyed: a worker may still post while the process exits.
    static const Ref<CFNotificationCenter>& center =
        *new Ref<CFNotificationCenter>(alloc<CFNotificationCenter>());
    return center;
}

void CFNotificationCenter::postNotification(const std::string& name) {
    SDKEventLog::record(SDKEvents::Notification{name});
    std::vector<Observer> matching;
    {
        std::lock_guard lock(_mutex);
        for (const auto& [observed, observer] : _observers) {
            if (observed == name) {
                matching.push_back(observer);
            }
        }
    }
    for (const Observer& observer : matching) {
        observer(name);
    }
}

void CFNotificationCenter::addObserver(const std::string& name, Observer observer) {
    std::lock_guard lock(_mutex);
    _observers.emplace_back(name, std::move(observer));
}

void CFNotificationCenter::removeAllObservers() {
    std::lock_guard lock(_mutex);
    _observers.clear();
}
