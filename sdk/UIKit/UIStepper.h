#pragma once

#include <optional>

#include <Foundation/Forward.h>
#include <UIKit/UIControl.h>

// A minus and a plus button side by side that step a value between a minimum
// and a maximum, in double precision. Each step sends
// UIControlEventValueChanged while continuous (the default), else one is sent
// when the finger lifts; holding a button repeats its step while autorepeat
// is on. With wraps, a step past one bound gives the other bound; without, it
// stops at the bound and that button looks disabled. Bounds the stepper
// cannot take, and a step that is not positive, raise
// NSInvalidArgumentException, as on the platform; setting the value sends
// nothing.
class UIStepper : public UIControl {
public:
    enum class Button { Decrement, Increment };

    Ref<UIStepper> initWithFrame(const CGRect& frame) {
        UIControl::initWithFrame(frame);
        return self<UIStepper>();
    }
    Ref<UIStepper> init() { return initWithFrame(CGRectZero); }

    double value() const { return _value; }
    // Clamped to the bounds; NaN gives the minimum.
    void setValue(double value);
    double minimumValue() const { return _minimumValue; }
    // Raises unless below the maximum.
    void setMinimumValue(double minimum);
    double maximumValue() const { return _maximumValue; }
    // Raises unless above the minimum.
    void setMaximumValue(double maximum);
    double stepValue() const { return _stepValue; }
    // Raises unless above 0.
    void setStepValue(double step);
    bool wraps() const { return _wraps; }
    void setWraps(bool wraps) { _wraps = wraps; }
    bool autorepeat() const { return _autorepeat; }
    void setAutorepeat(bool autorepeat) { _autorepeat = autorepeat; }

    // Whether a button can step: both look disabled on a disabled stepper, and
    // without wrapping the one that points past its bound does too.
    bool isButtonEnabled(Button button) const;
    // Where a button lies: the left half of the bounds is minus, the right plus.
    CGRect rectForButton(Button button) const;
    // The button held down under the finger, when it can step.
    const std::optional<Button>& pressedButton() const { return _pressed; }

    // The platform stepper's size: two 47-point buttons, 32 points high.
    CGSize intrinsicContentSize() const override;
    CGSize sizeThatFits(CGSize size) const override;

    bool beginTrackingWithTouch(const Ref<UITouch>& touch) override;
    bool continueTrackingWithTouch(const Ref<UITouch>& touch) override;
    void endTrackingWithTouch(const Ref<UITouch>& touch) override;
    void cancelTrackingWithEvent() override;

    // A held button first repeats after kAutorepeatDelay, then every
    // kAutorepeatInterval, on the main run loop's clock.
    static constexpr double kAutorepeatDelay = 0.5;
    static constexpr double kAutorepeatInterval = 0.1;

    static constexpr CGFloat kWidth = 94;
    static constexpr CGFloat kHeight = 32;

private:
    std::optional<Button> buttonAtPoint(CGPoint point) const;
    // One step of a button; sends the event when continuous.
    void step(Button button);
    // The hold timer firing while a button is held.
    void repeatHeldStep();
    void stopRepeating();

    double _value = 0;
    double _minimumValue = 0;
    double _maximumValue = 100;
    double _stepValue = 1;
    bool _wraps = false;
    bool _autorepeat = true;
    std::optional<Button> _pressed;
    std::optional<Button> _tracked;
    double _valueAtTouchDown = 0;
    Ref<NSTimer> _repeatTimer;
};
