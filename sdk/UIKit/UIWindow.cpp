#include <UIKit/UIWindow.h>

void UIWindow::setRootViewController(const Ref<UIViewController>& controller) {
    if (_rootViewController && _rootViewController->isViewLoaded()) {
        _rootViewController->view()->removeFromSuperview();
    }
    _rootViewController = controller;
    if (controller) {
        Ref<UIView> view = controller->view();
        view->setFrame(bounds());
        addSubview(view);
    }
}

Ref<UIViewController> UIWindow::topViewController() const {
    Ref<UIViewController> top = _rootViewController;
    while (top && top->presentedViewController()) {
        top = top->presentedViewController();
    }
    return top;
}
