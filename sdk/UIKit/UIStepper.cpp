#include <UIKit/UIStepper.h>

#include <algorithm>
#include <cmath>

#include <Foundation/NSException.h>
#include <Foundation/NSString.h>
#include <Foundation/NSTimer.h>
#include <UIKit/UITouch.h>

void UIStepper::setValue(double value) {
    _value = std::isnan(value) ? _minimumValue : std::clamp(value, _minimumValue, _maximumValue);
}

void UIStepper::setMinimumValue(double minimum) {
    if (!(minimum < _maximumValue)) {
        throw NSException(
            NSInvalidArgumentException,
            NSString::stringWithFormat("minimumValue (%g) must be less than maximumValue (%g)",
                                       minimum, _maximumValue));
    }
    _minimumValue = minimum;
    setValue(_value);
}

void UIStepper::setMaximumValue(double maximum) {
    if (!(maximum > _minimumValue)) {
        throw NSException(
            NSInvalidArgumentException,
            NSString::stringWithFormat("maximumValue (%g) must be greater than minimumValue (%g)",
                                       maximum, _minimumValue));
    }
    _maximumValue = maximum;
    setValue(_value);
}

void UIStepper::setStepValue(double step) {
    if (!(step > 0)) {
        throw NSException(
            NSInvalidArgumentException,
            NSString::stringWithFormat("stepValue (%g) must be greater than 0", step));
    }
    _stepValue = step;
}

bool UIStepper::isButtonEnabled(Button button) const {
    if (!isEnabled()) {
        return false;
    }
    if (_wraps) {
        return true;
    }
    return button == Button::Increment ? _value < _maximumValue : _value > _minimumValue;
}

CGRect UIStepper::rectForButton(Button button) const {
    const CGRect b = bounds();
    const CGFloat half = b.size.width / 2;
    return CGRectMake(button == Button::Increment ? half : 0, 0, half, b.size.height);
}

std::optional<UIStepper::Button> UIStepper::buttonAtPoint(CGPoint point) const {
    for (Button button : {Button::Decrement, Button::Increment}) {
        if (CGRectContainsPoint(rectForButton(button), point)) {
            return button;
        }
    }
    return std::nullopt;
}

CGSize UIStepper::intrinsicContentSize() const {
    return CGSizeMake(kWidth, kHeight);
}

CGSize UIStepper::sizeThatFits(CGSize) const {
    return intrinsicContentSize();
}

void UIStepper::step(Button button) {
    if (!isButtonEnabled(button)) {
        return;
    }
    double next;
    if (button == Button::Increment) {
        next = _value + _stepValue;
        if (next > _maximumValue) {
            next = _wraps ? _minimumValue : _maximumValue;
        }
    } else {
        next = _value - _stepValue;
        if (next < _minimumValue) {
            next = _wraps ? _maximumValue : _minimumValue;
        }
    }
    if (next == _value) {
        return;
    }
    _value = next;
    if (isContinuous()) {
        sendActionsForControlEvents(UIControlEventValueChanged);
    }
}

bool UIStepper::beginTrackingWithTouch(const Ref<UITouch>& touch) {
    _tracked = buttonAtPoint(touch->locationInView(self<UIView>()));
    if (!_tracked) {
        return false;
    }
    _valueAtTouchDown = _value;
    _pressed = isButtonEnabled(*_tracked) ? _tracked : std::nullopt;
    step(*_tracked);
    if (_autorepeat) {
        Weak<UIStepper> weakSelf = self<UIStepper>();
        _repeatTimer = NSTimer::scheduledTimerWithTimeInterval(
            kAutorepeatDelay, false, [weakSelf](const Ref<NSTimer>&) {
                Ref<UIStepper> stepper = weakSelf.lock();
                if (!stepper || !stepper->_tracked) {
                    return;
                }
                stepper->repeatHeldStep();
                stepper->_repeatTimer = NSTimer::scheduledTimerWithTimeInterval(
                    kAutorepeatInterval, true, [weakSelf](const Ref<NSTimer>&) {
                        if (Ref<UIStepper> held = weakSelf.lock()) {
                            held->repeatHeldStep();
                        }
                    });
            });
    }
    return true;
}

bool UIStepper::continueTrackingWithTouch(const Ref<UITouch>& touch) {
    // The button stays down, and repeats, only while the finger is on it.
    const CGPoint point = touch->locationInView(self<UIView>());
    const bool onButton = CGRectContainsPoint(rectForButton(*_tracked), point);
    _pressed = onButton && isButtonEnabled(*_tracked) ? _tracked : std::nullopt;
    return true;
}

void UIStepper::endTrackingWithTouch(const Ref<UITouch>&) {
    stopRepeating();
    _pressed.reset();
    _tracked.reset();
    if (!isContinuous() && _value != _valueAtTouchDown) {
        sendActionsForControlEvents(UIControlEventValueChanged);
    }
}

void UIStepper::cancelTrackingWithEvent() {
    stopRepeating();
    _pressed.reset();
    _tracked.reset();
}

void UIStepper::stopRepeating() {
    if (_repeatTimer) {
        _repeatTimer->invalidate();
        _repeatTimer = nullptr;
    }
}

void UIStepper::repeatHeldStep() {
    if (_pressed && _autorepeat) {
        step(*_pressed);
    }
}
