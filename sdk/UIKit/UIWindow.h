#pragma once

#include <vector>

#include <UIKit/Forward.h>
#include <UIKit/UITouch.h>
#include <UIKit/UIViewController.h>

class UIGestureRecognizer;

// The root of a view tree on screen; shows its root view controller's view,
// and over it the controllers presented from there, each in a container that
// covers the whole window so that touches outside a presented screen reach
// nothing below it. The device's screen is the window's top part, as high as
// the main screen: presented screens appear there.
class UIWindow : public UIView {
public:
    Ref<UIWindow> initWithFrame(const CGRect& frame) {
        UIView::initWithFrame(frame);
        return self<UIWindow>();
    }

    Ref<UIViewController> rootViewController() const { return _rootViewController; }
    void setRootViewController(const Ref<UIViewController>& controller);
    // The controller on top: the last one presented over the root.
    Ref<UIViewController> topViewController() const;

    // The host's finger, in window coordinates, one finger at a time. Layout
    // is brought up to date first, as the run loop does before each event.
    // The touch lands on the view that hit-testing finds on the topmost screen
    // (a presented screen covers the page below it): the gesture recognisers
    // of that view and its ancestors hear each change first, then the view;
    // a recogniser that recognises its gesture cancels the touch in the view.
    // Beginning answers the touch, or nil when it landed on nothing.
    Ref<UITouch> sendTouchBegan(CGPoint point);
    void sendTouchMoved(CGPoint point);
    void sendTouchEnded(CGPoint point);
    void sendTouchCancelled();

    // The view that hears the keyboard; nil once it has left the window.
    Ref<UIView> firstResponder() const;

    // The screen's edges its content keeps clear of: the status bar's band
    // at the top on a device that shows one.
    UIEdgeInsets safeAreaInsets() const;

    void layoutSubviews() override;

    // Above a sheet, the page shows dimmed by black at this opacity.
    static constexpr CGFloat kSheetDimming = 0.25;
    // A sheet's top edge below the top of the screen, and its corners.
    static constexpr CGFloat kSheetTop = 54;
    static constexpr CGFloat kSheetCornerRadius = 10;

protected:
    // A window shows its screen's traits.
    Ref<UITraitCollection> rootTraitCollection() const override;

private:
    friend class UIView;
    friend class UIViewController;

    struct Presentation {
        Ref<UIViewController> controller;
        // Covers the window; holds the screen's part, which holds the screen.
        Ref<UIView> container;
        Ref<UIView> screen;
        Ref<UIView> dimming;
        Ref<UIView> card;
    };
    // Puts the views of the controllers presented over the root in the
    // window, each over the one below, and takes away those dismissed.
    void showPresentedViewControllers();
    void placePresentation(const Presentation& presentation) const;

    // The view the finger lands in: the presented screen on top, else the window.
    Ref<UIView> touchRoot();
    void deliver(CGPoint point, UITouchPhase phase);
    void finishTouch();

    Ref<UIViewController> _rootViewController;
    Ref<UITouch> _touch;
    Ref<UIView> _touchView;
    std::vector<Ref<UIGestureRecognizer>> _touchRecognizers;
    bool _touchCancelledInView = false;
    std::vector<Presentation> _presentations;
    Weak<UIView> _firstResponder;
};
