#include <UIKit/UITapGestureRecognizer.h>

#include <cmath>

#include <UIKit/UITouch.h>

void UITapGestureRecognizer::touchesBegan(const Ref<UITouch>& touch) {
    _start = touch->locationInView(nullptr);
}

void UITapGestureRecognizer::touchesMoved(const Ref<UITouch>& touch) {
    if (movedTooFar(touch)) {
        setState(UIGestureRecognizerStateFailed);
    }
}

void UITapGestureRecognizer::touchesEnded(const Ref<UITouch>& touch) {
    setState(movedTooFar(touch) ? UIGestureRecognizerStateFailed
                                : UIGestureRecognizerStateRecognized);
}

bool UITapGestureRecognizer::movedTooFar(const Ref<UITouch>& touch) const {
    const CGPoint now = touch->locationInView(nullptr);
    return std::hypot(now.x - _start.x, now.y - _start.y) > kAllowableMovement;
}
