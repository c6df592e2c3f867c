#include <UIKit/UIWindow.h>

#include <algorithm>

#include <UIKit/UIGestureRecognizer.h>

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

Ref<UIView> UIWindow::touchRoot() {
    Ref<UIViewController> top = topViewController();
    if (top && top != _rootViewController) {
        Ref<UIView> screen = top->view();
        if (!screen->isDescendantOfView(this)) {
            return screen;
        }
    }
    return self<UIView>();
}

Ref<UITouch> UIWindow::sendTouchBegan(CGPoint point) {
    if (_touch) {
        sendTouchCancelled();
    }
    Ref<UIView> root = touchRoot();
    root->layoutIfNeeded();
    Ref<UIView> hit = root->hitTest(point);
    if (!hit) {
        return nullptr;
    }
    _touch = alloc<UITouch>()->initWithWindow(self<UIWindow>(), root, hit, point);
    _touchView = hit;
    _touchCancelledInView = false;
    for (Ref<UIView> view = hit; view; view = view->superview()) {
        for (const Ref<UIGestureRecognizer>& recognizer : view->gestureRecognizers()) {
            if (recognizer->isEnabled()) {
                _touchRecognizers.push_back(recognizer);
            }
        }
    }
    Ref<UITouch> touch = _touch;
    deliver(point, UITouchPhaseBegan);
    return touch;
}

void UIWindow::sendTouchMoved(CGPoint point) {
    if (_touch) {
        deliver(point, UITouchPhaseMoved);
    }
}

void UIWindow::sendTouchEnded(CGPoint point) {
    if (Ref<UITouch> touch = _touch) {
        deliver(point, UITouchPhaseEnded);
        if (touch == _touch) {
            finishTouch();
        }
    }
}

void UIWindow::sendTouchCancelled() {
    if (Ref<UITouch> touch = _touch) {
        deliver(touch->locationInView(nullptr), UITouchPhaseCancelled);
        if (touch == _touch) {
            finishTouch();
        }
    }
}

Ref<UIView> UIWindow::tapAtPoint(CGPoint point) {
    Ref<UITouch> touch = sendTouchBegan(point);
    if (!touch) {
        return nullptr;
    }
    sendTouchEnded(point);
    return touch->view();
}

void UIWindow::deliver(CGPoint point, UITouchPhase phase) {
    // Hold everything: a handler may end the page, or start another touch.
    const Ref<UITouch> touch = _touch;
    const Ref<UIView> view = _touchView;
    const std::vector<Ref<UIGestureRecognizer>> recognizers = _touchRecognizers;
    if (phase != UITouchPhaseBegan) {
        touch->updateLocation(point, phase);
    }
    for (const Ref<UIGestureRecognizer>& recognizer : recognizers) {
        recognizer->receiveTouch(touch);
    }
    if (_touchCancelledInView || touch != _touch) {
        return;
    }
    const bool claimed = std::any_of(recognizers.begin(), recognizers.end(),
                                     [](const Ref<UIGestureRecognizer>& recognizer) {
                                         const UIGestureRecognizerState state = recognizer->state();
                                         return recognizer->cancelsTouchesInView() &&
                                                (state == UIGestureRecognizerStateBegan ||
                                                 state == UIGestureRecognizerStateChanged ||
                                                 state == UIGestureRecognizerStateRecognized);
                                     });
    if (claimed) {
        _touchCancelledInView = true;
        if (phase != UITouchPhaseBegan) {
            view->touchesCancelled(touch);
        }
        return;
    }
    switch (phase) {
    case UITouchPhaseBegan:
        view->touchesBegan(touch);
        break;
    case UITouchPhaseMoved:
    case UITouchPhaseStationary:
        view->touchesMoved(touch);
        break;
    case UITouchPhaseEnded:
        view->touchesEnded(touch);
        break;
    case UITouchPhaseCancelled:
        _touchCancelledInView = true;
        view->touchesCancelled(touch);
        break;
    }
}

void UIWindow::finishTouch() {
    const std::vector<Ref<UIGestureRecognizer>> recognizers = std::move(_touchRecognizers);
    _touchRecognizers.clear();
    _touch = nullptr;
    _touchView = nullptr;
    for (const Ref<UIGestureRecognizer>& recognizer : recognizers) {
        recognizer->reset();
    }
}
