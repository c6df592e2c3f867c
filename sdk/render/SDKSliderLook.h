#pragma once

#include <UIKit/UISlider.h>
#include <render/SDKTypedViewLook.h>

// A slider as the platform draws it: a thin rounded track, filled in the
// tint up to the thumb and in the system fill after it, and a white thumb
// with a soft shadow at the value's place along the track.
class SDKSliderLook : public SDKTypedViewLook<UISlider> {
protected:
    void draw(const UISlider& slider, SDKViewPainter& painter) const override;
    void describeView(const UISlider& slider, Value::Dictionary& description) const override;
};
