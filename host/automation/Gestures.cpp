#include <UIKit/UISlider.h>
#include <UIKit/UIStepper.h>

#include "Gestures.h"

void Gestures::dragSlider(Finger& finger, const Ref<UISlider>& slider, float value,
                          size_t movements) {
    const CGRect bounds = slider->bounds();
    const CGRect track = slider->trackRectForBounds(bounds);
    const CGRect from = slider->thumbRectForBounds(bounds, track, slider->value());
    const CGRect to = slider->thumbRectForBounds(bounds, track, value);
    finger.drag(slider, CGPointMake(CGRectGetMidX(from), CGRectGetMidY(from)),
                CGPointMake(CGRectGetMidX(to), CGRectGetMidY(to)), movements);
}

void Gestures::pressStepper(Finger& finger, const Ref<UIStepper>& stepper, bool plus,
                            size_t repeats) {
    const CGRect bounds = stepper->bounds();
    const CGPoint point =
        CGPointMake(bounds.size.width * (plus ? 0.75 : 0.25), CGRectGetMidY(bounds));
    finger.pressAndHold(stepper, point, repeats);
}
