#pragma once

#include <UIKit/Forward.h>
#include <UIKit/UIControl.h>

// A horizontal track with a round thumb for a value between a minimum and a
// maximum, all in single precision. The value always lies within the bounds;
// setting a bound past the other one moves the other one along. Dragging the
// thumb sends UIControlEventValueChanged on every movement while continuous
// (the default), else once when the finger lifts; setting the value sends
// nothing. Images for the minimum and maximum sit at either end, at their
// own size, and the track shrinks to make room for them.
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

    Ref<UIImage> minimumValueImage() const;
    void setMinimumValueImage(const Ref<UIImage>& image);
    Ref<UIImage> maximumValueImage() const;
    void setMaximumValueImage(const Ref<UIImage>& image);
    // Where each image sits: at its end, centred vertically; empty without one.
    CGRect minimumValueImageRectForBounds(const CGRect& bounds) const;
    CGRect maximumValueImageRectForBounds(const CGRect& bounds) const;

    // The track runs the width left by the images, centred vertically; the
    // thumb's centre travels along it inset by the thumb's radius at either end.
    CGRect trackRectForBounds(const CGRect& bounds) const;
    CGRect thumbRectForBounds(const CGRect& bounds, const CGRect& trackRect, float value) const;

    // As wide as it is given, at the slider's height.
    CGSize intrinsicContentSize() const override;
    CGSize sizeThatFits(CGSize size) const override;

    // A touch on the thumb drags it; one elsewhere on the track does nothing.
    bool beginTrackingWithTouch(const Ref<UITouch>& touch) override;
    bool continueTrackingWithTouch(const Ref<UITouch>& touch) override;
    void endTrackingWithTouch(const Ref<UITouch>& touch) override;

    void layoutSubviews() override;

    static constexpr CGFloat kHeight = 31;
    // Between a value image and the track.
    static constexpr CGFloat kValueImageSpacing = 10;
    static constexpr CGFloat kThumbDiameter = 28;
    static constexpr CGFloat kTrackHeight = 4;

private:
    // The image view at one end, made when it first gets an image.
    void setValueImage(Ref<UIImageView>& view, const Ref<UIImage>& image);
    CGRect valueImageRect(const Ref<UIImageView>& view, const CGRect& bounds, bool atMinimum) const;
    // The value whose thumb centre lies at `x` along the track.
    float valueAtThumbCentre(CGFloat x) const;
    void followTouch(const Ref<UITouch>& touch);

    float _value = 0;
    float _minimumValue = 0;
    float _maximumValue = 1;
    float _valueAtTouchDown = 0;
    CGFloat _grabOffset = 0;
    Ref<UIImageView> _minimumValueImageView;
    Ref<UIImageView> _maximumValueImageView;
};
