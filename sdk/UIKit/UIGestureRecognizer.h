#pragma once

#include <functional>
#include <vector>

#include <QuartzCore/Forward.h>
#include <UIKit/UIKitDefines.h>
#include <objc/NSObject.h>

class UITouch;
class UIView;

enum UIGestureRecognizerState : NSInteger {
    UIGestureRecognizerStatePossible = 0,
    UIGestureRecognizerStateBegan = 1,
    UIGestureRecognizerStateChanged = 2,
    UIGestureRecognizerStateEnded = 3,
    UIGestureRecognizerStateCancelled = 4,
    UIGestureRecognizerStateFailed = 5,
    UIGestureRecognizerStateRecognized = UIGestureRecognizerStateEnded,
};

// Recognises a gesture in the touches delivered to its view and then sends
// its actions. Targets are held weakly, as on the platform. The window offers
// each touch to the recognisers of the touched view and its ancestors before
// the view itself hears it.
class UIGestureRecognizer : public NSObject {
public:
    using Action = std::function<void(const Ref<UIGestureRecognizer>&)>;

    template <class Target>
    Ref<UIGestureRecognizer>
    initWithTarget(const Ref<Target>& target,
                   void (Target::*action)(const Ref<UIGestureRecognizer>&)) {
        addTarget(target, action);
        return self<UIGestureRecognizer>();
    }
    template <class Target>
    void addTarget(const Ref<Target>& target,
                   void (Target::*action)(const Ref<UIGestureRecognizer>&)) {
        Weak<Target> weakTarget = target;
        _actions.push_back([weakTarget, action](const Ref<UIGestureRecognizer>& sender) {
            if (Ref<Target> strong = weakTarget.lock()) {
                ((*strong).*action)(sender);
            }
        });
    }

    Ref<UIView> view() const { return _view.lock(); }
    void setView(const Ref<UIView>& view) { _view = view; }
    bool isEnabled() const { return _enabled; }
    void setEnabled(bool enabled) { _enabled = enabled; }
    UIGestureRecognizerState state() const { return _state; }
    // Whether the touched view hears its touch cancelled once this recogniser
    // has recognised its gesture (YES, as on the platform).
    bool cancelsTouchesInView() const { return _cancelsTouchesInView; }
    void setCancelsTouchesInView(bool cancels) { _cancelsTouchesInView = cancels; }
    // Where its touch is, in a view's coordinates (nil: the screen's); the
    // origin when it has no touch.
    CGPoint locationInView(const Ref<UIView>& view) const;

    // The window hands over each change of a touch it offers this recogniser.
    // One that has already recognised or failed hears nothing more until reset.
    void receiveTouch(const Ref<UITouch>& touch);
    // Sent by the window once the touch is over: back to Possible.
    virtual void reset();

protected:
    virtual void touchesBegan(const Ref<UITouch>&) {}
    virtual void touchesMoved(const Ref<UITouch>&) {}
    virtual void touchesEnded(const Ref<UITouch>&) {}
    // A gesture under way is cancelled; one not yet recognised fails.
    virtual void touchesCancelled(const Ref<UITouch>&);

    // Moving to Began, Changed or Recognized sends the actions, and so does
    // cancelling a gesture that had begun.
    void setState(UIGestureRecognizerState state);

private:
    void sendActions();

    Weak<UIView> _view;
    bool _enabled = true;
    bool _cancelsTouchesInView = true;
    UIGestureRecognizerState _state = UIGestureRecognizerStatePossible;
    Ref<UITouch> _touch;
    std::vector<Action> _actions;
};
