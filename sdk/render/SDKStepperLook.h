#pragma once

#include <UIKit/UIStepper.h>
#include <render/SDKTypedViewLook.h>

// A stepper as the platform draws it: a rounded grey capsule split in two,
// a minus on the left and a plus on the right; the held button darkens and
// a button that cannot step is drawn faint.
class SDKStepperLook : public SDKTypedViewLook<UIStepper> {
protected:
    void draw(const UIStepper& stepper, SDKViewPainter& painter) const override;
    void describeView(const UIStepper& stepper, Value::Dictionary& description) const override;
};
