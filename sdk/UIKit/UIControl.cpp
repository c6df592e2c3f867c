#include <UIKit/UIControl.h>

#include <algorithm>

#include <UIKit/UIAction.h>
#include <UIKit/UITouch.h>

void UIControl::addAction(Action action, UIControlEvents events, const void* target) {
    _registrations.push_back({std::move(action), events, target});
}

void UIControl::addAction(const Ref<UIAction>& action, UIControlEvents events) {
    if (!action) {
        return;
    }
    addAction([action](const Ref<UIControl>&) { action->performWithSender(); }, events,
              action.get());
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

bool UIControl::isInside(const Ref<UITouch>& touch) {
    const CGPoint point = touch->locationInView(self<UIView>());
    const CGRect b = bounds();
    return point.x >= -kTouchInsideMargin && point.y >= -kTouchInsideMargin &&
           point.x <= b.size.width + kTouchInsideMargin &&
           point.y <= b.size.height + kTouchInsideMargin;
}

void UIControl::touchesBegan(const Ref<UITouch>& touch) {
    if (!_enabled) {
        // A disabled control keeps the touch from the views behind it, and does nothing.
        return;
    }
    _touching = true;
    _touchInside = true;
    setHighlighted(true);
    _tracking = beginTrackingWithTouch(touch);
    sendActionsForControlEvents(UIControlEventTouchDown);
}

void UIControl::touchesMoved(const Ref<UITouch>& touch) {
    if (!_touching) {
        return;
    }
    const bool wasInside = _touchInside;
    _touchInside = isInside(touch);
    setHighlighted(_touchInside);
    if (_tracking) {
        _tracking = continueTrackingWithTouch(touch);
    }
    UIControlEvents events =
        _touchInside ? UIControlEventTouchDragInside : UIControlEventTouchDragOutside;
    if (_touchInside != wasInside) {
        events |= _touchInside ? UIControlEventTouchDragEnter : UIControlEventTouchDragExit;
    }
    sendActionsForControlEvents(events);
}

void UIControl::touchesEnded(const Ref<UITouch>& touch) {
    if (!_touching) {
        return;
    }
    _touchInside = isInside(touch);
    if (_tracking) {
        endTrackingWithTouch(touch);
    }
    _touching = false;
    _tracking = false;
    setHighlighted(false);
    sendActionsForControlEvents(_touchInside ? UIControlEventTouchUpInside
                                             : UIControlEventTouchUpOutside);
}

void UIControl::touchesCancelled(const Ref<UITouch>&) {
    if (!_touching) {
        return;
    }
    if (_tracking) {
        cancelTrackingWithEvent();
    }
    _touching = false;
    _tracking = false;
    _touchInside = false;
    setHighlighted(false);
    sendActionsForControlEvents(UIControlEventTouchCancel);
}
