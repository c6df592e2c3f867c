#pragma once

#include <UIKit/UIGestureRecognizer.h>

// A single tap with one finger: recognised when a touch that began on its
// view lifts without having moved further than a fingertip's wobble.
class UITapGestureRecognizer : public UIGestureRecognizer {
public:
    template <class Target>
    Ref<UITapGestureRecognizer>
    initWithTarget(const Ref<Target>& target,
                   void (Target::*action)(const Ref<UIGestureRecognizer>&)) {
        UIGestureRecognizer::initWithTarget(target, action);
        return self<UITapGestureRecognizer>();
    }

    // How far, in points, the finger may travel before the tap fails.
    static constexpr CGFloat kAllowableMovement = 10;

protected:
    void touchesBegan(const Ref<UITouch>& touch) override;
    void touchesMoved(const Ref<UITouch>& touch) override;
    void touchesEnded(const Ref<UITouch>& touch) override;

private:
    bool movedTooFar(const Ref<UITouch>& touch) const;

    CGPoint _start{};
};
