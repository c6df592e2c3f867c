#include <UIKit/UISwitch.h>

Ref<UISwitch> UISwitch::initWithFrame(const CGRect& frame) {
    UIControl::initWithFrame(CGRectMake(frame.origin.x, frame.origin.y, kWidth, kHeight));
    return self<UISwitch>();
}

void UISwitch::setOn(bool on, bool) {
    _on = on;
}

CGSize UISwitch::intrinsicContentSize() const {
    return CGSizeMake(kWidth, kHeight);
}

CGSize UISwitch::sizeThatFits(CGSize) const {
    return intrinsicContentSize();
}

void UISwitch::endTrackingWithTouch(const Ref<UITouch>&) {
    if (!isEnabled() || !isTouchInside()) {
        return;
    }
    _on = !_on;
    sendActionsForControlEvents(UIControlEventValueChanged);
}
