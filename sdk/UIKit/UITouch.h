#pragma once

#include <QuartzCore/Forward.h>
#include <UIKit/UIKitDefines.h>
#include <objc/NSObject.h>

class UIView;
class UIWindow;

enum UITouchPhase : NSInteger {
    UITouchPhaseBegan = 0,
    UITouchPhaseMoved = 1,
    UITouchPhaseStationary = 2,
    UITouchPhaseEnded = 3,
    UITouchPhaseCancelled = 4,
};

// One finger on the screen, from the moment it lands until it lifts. The
// window makes it and moves it; the view it first landed on keeps receiving it.
class UITouch : public NSObject {
public:
    // A finger landing at a point of `root` (the window, or the screen
    // presented over it) on `view`, the view hit-testing found there.
    Ref<UITouch> initWithWindow(const Ref<UIWindow>& window, const Ref<UIView>& root,
                                const Ref<UIView>& view, CGPoint point);

    Ref<UIWindow> window() const { return _window.lock(); }
    Ref<UIView> view() const { return _view.lock(); }
    UITouchPhase phase() const { return _phase; }
    // Where the finger is, in the coordinates of `view` (nil: the screen's).
    CGPoint locationInView(const Ref<UIView>& view) const;
    CGPoint previousLocationInView(const Ref<UIView>& view) const;

    // The window moves the finger on, or lifts it.
    void updateLocation(CGPoint point, UITouchPhase phase);

private:
    CGPoint convert(CGPoint point, const Ref<UIView>& view) const;

    Weak<UIWindow> _window;
    Weak<UIView> _root;
    Weak<UIView> _view;
    CGPoint _location{};
    CGPoint _previousLocation{};
    UITouchPhase _phase = UITouchPhaseBegan;
};
