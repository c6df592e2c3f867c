#pragma once

#include <UIKit/UIView.h>
#include <UIKit/UIViewController.h>

// The root of a view tree on screen; shows its root view controller's view.
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

private:
    Ref<UIViewController> _rootViewController;
};
