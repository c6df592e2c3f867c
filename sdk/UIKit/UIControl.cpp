#include <UIKit/UIControl.h>

#include <algorithm>

void UIControl::addAction(Action action, UIControlEvents events, const void* target) {
    _registrations.push_back({std::move(action), events, target});
}

void UIControl::removeTarget(const void* target, UIControlEvents events) {
    std::erase_if(_registrations, [&](const Registration& registration) {
        return (target == nullptr || registration.target == target) &&
               (registration.events & events) != 0;
    });
}

UIControlEvents UIControl::allControlEvents() const {
    UIControlEvents events = 0;
    for (const Registration& registration : _registrations) {
        events |= registration.events;
    }
    return events;
}

bool UIControl::hasTarget(const void* target, UIControlEvents events) const {
    return std::any_of(_registrations.begin(), _registrations.end(), [&](const Registration& r) {
        return r.target == target && (r.events & events) != 0;
    });
}

void UIControl::sendActionsForControlEvents(UIControlEvents events) {
    // Copy first: an action may register or remove others.
    const std::vector<Registration> registrations = _registrations;
    Ref<UIControl> sender = self<UIControl>();
    for (const Registration& registration : registrations) {
        if (registration.events & events) {
            registration.action(sender);
        }
    }
}
