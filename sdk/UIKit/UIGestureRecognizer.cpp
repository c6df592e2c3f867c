#include <UIKit/UIGestureRecognizer.h>

#include <UIKit/UITouch.h>

CGPoint UIGestureRecognizer::locationInView(const Ref<UIView>& view) const {
    return _touch ? _touch->locationInView(view) : CGPoint{};
}

void UIGestureRecognizer::receiveTouch(const Ref<UITouch>& touch) {
    if (!touch || _state == UIGestureRecognizerStateEnded ||
        _state == UIGestureRecognizerStateCancelled || _state == UIGestureRecognizerStateFailed) {
        return;
    }
    _touch = touch;
    switch (touch->phase()) {
    case UITouchPhaseBegan:
        touchesBegan(touch);
        break;
    case UITouchPhaseMoved:
    case UITouchPhaseStationary:
        touchesMoved(touch);
        break;
    case UITouchPhaseEnded:
        touchesEnded(touch);
        break;
    case UITouchPhaseCancelled:
        touchesCancelled(touch);
        break;
    }
}

void UIGestureRecognizer::reset() {
    _state = UIGestureRecognizerStatePossible;
    _touch = nullptr;
}

void UIGestureRecognizer::touchesCancelled(const Ref<UITouch>&) {
    const bool underWay =
        _state == UIGestureRecognizerStateBegan || _state == UIGestureRecognizerStateChanged;
    setState(underWay ? UIGestureRecognizerStateCancelled : UIGestureRecognizerStateFailed);
}

void UIGestureRecognizer::setState(UIGestureRecognizerState state) {
    const UIGestureRecognizerState previous = _state;
    _state = state;
    const bool wasUnderWay =
        previous == UIGestureRecognizerStateBegan || previous == UIGestureRecognizerStateChanged;
    if (state == UIGestureRecognizerStateBegan || state == UIGestureRecognizerStateChanged ||
        state == UIGestureRecognizerStateEnded ||
        (state == UIGestureRecognizerStateCancelled && wasUnderWay)) {
        sendActions();
    }
}

void UIGestureRecognizer::sendActions() {
    // Copy first: an action may add targets or drop this recogniser.
    const std::vector<Action> actions = _actions;
    Ref<UIGestureRecognizer> sender = self<UIGestureRecognizer>();
    for (const Action& action : actions) {
        action(sender);
    }
}
