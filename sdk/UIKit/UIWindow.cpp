#include <UIKit/UIWindow.h>

#include <algorithm>

#include <UIKit/UIColor.h>
#include <UIKit/UIGestureRecognizer.h>
#include <UIKit/UIScreen.h>

namespace {

// Whether the style shows the controller as a sheet over the dimmed page,
// rather than over the whole screen.
bool isSheet(UIModalPresentationStyle style) {
    switch (style) {
    case UIModalPresentationPageSheet:
    case UIModalPresentationFormSheet:
    case UIModalPresentationPopover:
    case UIModalPresentationAutomatic:
        return true;
    default:
        return false;
    }
}

// The part of a window with these bounds that the device's screen shows: its top.
CGRect visiblePart(const CGRect& bounds) {
    return CGRectMake(0, 0, bounds.size.width,
                      std::min(bounds.size.height, UIScreen::mainScreen()->bounds().size.height));
}

} // namespace

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

Ref<UIView> UIWindow::firstResponder() const {
    Ref<UIView> responder = _firstResponder.lock();
    return responder && responder->window().get() == this ? responder : nullptr;
}

void UIWindow::showPresentedViewControllers() {
    std::vector<Ref<UIViewController>> chain;
    for (Ref<UIViewController> presented =
             _rootViewController ? _rootViewController->presentedViewController() : nullptr;
         presented; presented = presented->presentedViewController()) {
        chain.push_back(presented);
    }
    // Those still presented keep their containers; the rest go.
    std::vector<Presentation> kept;
    for (Presentation& presentation : _presentations) {
        const bool stays =
            kept.size() < chain.size() && chain[kept.size()] == presentation.controller;
        if (stays) {
            kept.push_back(std::move(presentation));
        } else {
            presentation.container->removeFromSuperview();
        }
    }
    _presentations = std::move(kept);
    for (size_t i = _presentations.size(); i < chain.size(); ++i) {
        Presentation presentation;
        presentation.controller = chain[i];
        presentation.container = alloc<UIView>()->init();
        presentation.screen = alloc<UIView>()->init();
        presentation.screen->setClipsToBounds(true);
        presentation.container->addSubview(presentation.screen);
        Ref<UIView> view = chain[i]->view();
        if (isSheet(chain[i]->modalPresentationStyle())) {
            presentation.dimming = alloc<UIView>()->init();
            presentation.dimming->setBackgroundColor(UIColor::colorWithWhite(0, kSheetDimming));
            presentation.card = alloc<UIView>()->init();
            presentation.card->setBackgroundColor(UIColor::systemBackgroundColor());
            presentation.card->layer()->setCornerRadius(kSheetCornerRadius);
            presentation.card->setClipsToBounds(true);
            presentation.card->addSubview(view);
            presentation.screen->addSubview(presentation.dimming);
            presentation.screen->addSubview(presentation.card);
        } else {
            presentation.screen->addSubview(view);
        }
        addSubview(presentation.container);
        _presentations.push_back(std::move(presentation));
        placePresentation(_presentations.back());
        chain[i]->viewDidAppear(true);
    }
    setNeedsLayout();
}

void UIWindow::placePresentation(const Presentation& presentation) const {
    const CGRect screen = visiblePart(bounds());
    presentation.container->setFrame(bounds());
    presentation.screen->setFrame(screen);
    const CGRect whole = CGRectMake(0, 0, screen.size.width, screen.size.height);
    Ref<UIView> view = presentation.controller->view();
    if (!presentation.card) {
        view->setFrame(whole);
        return;
    }
    presentation.dimming->setFrame(whole);
    const CGFloat top = std::min(kSheetTop, screen.size.height / 2);
    const CGFloat height = screen.size.height - top;
    // The card runs past the screen's bottom edge, so only its top corners show round.
    presentation.card->setFrame(CGRectMake(0, top, screen.size.width, height + kSheetCornerRadius));
    view->setFrame(CGRectMake(0, 0, screen.size.width, height));
}

void UIWindow::layoutSubviews() {
    if (_rootViewController) {
        _rootViewController->view()->setFrame(bounds());
    }
    for (const Presentation& presentation : _presentations) {
        placePresentation(presentation);
    }
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

UIEdgeInsets UIWindow::safeAreaInsets() const {
    return UIScreen::mainScreen()->safeAreaInsets();
}

Ref<UITraitCollection> UIWindow::rootTraitCollection() const {
    return UIScreen::mainScreen()->traitCollection();
}
