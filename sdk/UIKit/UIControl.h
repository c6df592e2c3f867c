#pragma once

#include <functional>
#include <vector>

#include <UIKit/Forward.h>
#include <UIKit/UIView.h>

class UITouch;

// A view that sends actions to targets when its events happen. Targets are
// held weakly; an action receives the control as its sender. A finger on the
// control is tracked: touch down, drags inside and outside, touch up inside
// or outside, each sent as its event.
class UIControl : public UIView {
public:
    using Action = std::function<void(const Ref<UIControl>& sender)>;

    Ref<UIControl> initWithFrame(const CGRect& frame) {
        UIView::initWithFrame(frame);
        return self<UIControl>();
    }
    Ref<UIControl> init() { return initWithFrame(CGRectZero); }

    // addTarget:action:forControlEvents: with an action that takes the sender.
    template <class Target, class Sender>
    void addTarget(const Ref<Target>& target, void (Target::*action)(const Ref<Sender>&),
                   UIControlEvents events) {
        Weak<Target> weakTarget = target;
        addAction(
            [weakTarget, action](const Ref<UIControl>& sender) {
                Ref<Target> strong = weakTarget.lock();
                Ref<Sender> typed = std::dynamic_pointer_cast<Sender>(sender);
                if (strong && (typed || !sender)) {
                    ((*strong).*action)(typed);
                }
            },
            events, target.get());
    }
    // An action that takes no argument, such as openTwitter or donate.
    template <class Target>
    void addTarget(const Ref<Target>& target, void (Target::*action)(), UIControlEvents events) {
        Weak<Target> weakTarget = target;
        addAction(
            [weakTarget, action](const Ref<UIControl>&) {
                if (Ref<Target> strong = weakTarget.lock()) {
                    ((*strong).*action)();
                }
            },
            events, target.get());
    }
    // addAction:forControlEvents:: the action's handler runs for any of the events.
    void addAction(const Ref<UIAction>& action, UIControlEvents events);
    // Drops every action the target registered for any of the events.
    void removeTarget(const void* target, UIControlEvents events);
    // The events for which anything is registered.
    UIControlEvents allControlEvents() const;
    // Whether the target has an action for any of the events.
    bool hasTarget(const void* target, UIControlEvents events) const;

    // Sends the actions registered for any of the events, in the order added.
    void sendActionsForControlEvents(UIControlEvents events);

    bool isEnabled() const { return _enabled; }
    virtual void setEnabled(bool enabled) { _enabled = enabled; }
    bool isSelected() const { return _selected; }
    virtual void setSelected(bool selected) { _selected = selected; }
    bool isHighlighted() const { return _highlighted; }
    virtual void setHighlighted(bool highlighted) { _highlighted = highlighted; }
    bool isContinuous() const { return _continuous; }
    void setContinuous(bool continuous) { _continuous = continuous; }
    UIControlContentHorizontalAlignment contentHorizontalAlignment() const {
        return _contentHorizontalAlignment;
    }
    void setContentHorizontalAlignment(UIControlContentHorizontalAlignment alignment) {
        _contentHorizontalAlignment = alignment;
        setNeedsLayout();
    }

    // Touch tracking. Subclasses follow the finger through these: beginning
    // and continuing answer whether to go on tracking it.
    virtual bool beginTrackingWithTouch(const Ref<UITouch>&) { return true; }
    virtual bool continueTrackingWithTouch(const Ref<UITouch>&) { return true; }
    virtual void endTrackingWithTouch(const Ref<UITouch>&) {}
    virtual void cancelTrackingWithEvent() {}
    bool isTracking() const { return _tracking; }
    // Whether the finger is on the control, or near enough to count as on it.
    bool isTouchInside() const { return _touchInside; }

    void touchesBegan(const Ref<UITouch>& touch) override;
    void touchesMoved(const Ref<UITouch>& touch) override;
    void touchesEnded(const Ref<UITouch>& touch) override;
    void touchesCancelled(const Ref<UITouch>& touch) override;

    // How far outside its bounds a finger still counts as inside, in points.
    static constexpr CGFloat kTouchInsideMargin = 70;

private:
    struct Registration {
        Action action;
        UIControlEvents events;
        const void* target;
    };
    void addAction(Action action, UIControlEvents events, const void* target);
    bool isInside(const Ref<UITouch>& touch);

    std::vector<Registration> _registrations;
    bool _enabled = true;
    bool _selected = false;
    bool _highlighted = false;
    bool _continuous = true;
    UIControlContentHorizontalAlignment _contentHorizontalAlignment =
        UIControlContentHorizontalAlignmentCenter;
    bool _touching = false;
    bool _tracking = false;
    bool _touchInside = false;
};
