#pragma once

#include <functional>
#include <vector>

#include <QuartzCore/CGGeometry.h>
#include <UIKit/UIKitDefines.h>
#include <objc/NSObject.h>

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
// its actions. Targets are held weakly, as on the platform.
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

    // Touch delivery, in the view's coordinates; the host's touch system calls these.
    virtual void touchesBegan(CGPoint) {}
    virtual void touchesMoved(CGPoint) {}
    virtual void touchesEnded(CGPoint) {}
    virtual void touchesCancelled() { _state = UIGestureRecognizerStateCancelled; }

protected:
    void setState(UIGestureRecognizerState state) { _state = state; }
    // Sends every action with this recogniser as the sender.
    void sendActions();

private:
    Weak<UIView> _view;
    bool _enabled = true;
    UIGestureRecognizerState _state = UIGestureRecognizerStatePossible;
    std::vector<Action> _actions;
};
