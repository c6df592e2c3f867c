#pragma once

#include <UIKit/UIControl.h>

// A horizontal track with a round thumb for a value between a minimum and a
// maximum, all in single precision. The value always lies within the bounds;
// setting a bound past the other one moves the other one along. Dragging the
// thumb sends UIControlEventValueChanged on every movement while continuous
// (the default), else once when the finger lifts; setting the value sends
// nothing.
class UISlider : public UIControl {
public:
    Ref<UISlider> initWithFrame(const CGRect& frame) {
        UIControl::initWithFrame(frame);
        return self<UISlider>();
    }
    Ref<UISlider> init() { return initWithFrame(CGRectZero); }

    float value() const { return _value; }
    // Clamped to the bounds; NaN gives the minimum.
    void setValue(float value);
    float minimumValue() const { return _minimumValue; }
    // A minimum above the maximum raises the maximum to it. NaN is ignored.
    void setMinimumValue(float minimum);
    float maximumValue() const { return _maximumValue; }
    // A maximum below the minimum lowers the minimum to it. NaN is ignored.
    void setMaximumValue(float maximum);

    // The track runs the full width, centred vertically; the thumb's centre
    // travels along it inset by the thumb's radius at either end.
    CGRect trackRectForBounds(const CGRect& bounds) const;
    CGRect thumbRectForBounds(const CGRect& bounds, const CGRect& trackRect, float value) const;

    // As wide as it is given, at the slider's height.
    CGSize intrinsicContentSize() const override;
    CGSize sizeThatFits(CGSize size) const override;

    // A touch on the thumb drags it; one elsewhere on the track does nothing.
    bool beginTrackingWithTouch(const Ref<UITouch>& touch) override;
    bool continueTrackingWithTouch(const Ref<UITouch>& touch) override;
    void endTrackingWithTouch(const Ref<UITouch>& touch) override;

    static constexpr CGFloat kHeight = 31;
    static constexpr CGFloat kThumbDiameter = 28;
    static constexpr CGFloat kTrackHeight = 4;

private:
    // The value whose thumb centre lies at `x` along the track.
    float valueAtThumbCentre(CGFloat x) const;
    void followTouch(const Ref<UITouch>& touch);

    float _value = 0;
    float _minimumValue = 0;
    float _maximumValue = 1;
    float _valueAtTouchDown = 0;
    CGFloat _grabOffset = 0;
};
