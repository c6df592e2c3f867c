#include <UIKit/UISlider.h>

#include <algorithm>
#include <cmath>

#include <UIKit/UIImage.h>
#include <UIKit/UIImageView.h>
#include <UIKit/UITouch.h>

void UISlider::setValue(float value) {
    _value = std::isnan(value) ? _minimumValue : std::clamp(value, _minimumValue, _maximumValue);
}

void UISlider::setMinimumValue(float minimum) {
    if (std::isnan(minimum)) {
        return;
    }
    _minimumValue = minimum;
    _maximumValue = std::max(_maximumValue, minimum);
    setValue(_value);
}

void UISlider::setMaximumValue(float maximum) {
    if (std::isnan(maximum)) {
        return;
    }
    _maximumValue = maximum;
    _minimumValue = std::min(_minimumValue, maximum);
    setValue(_value);
}

Ref<UIImage> UISlider::minimumValueImage() const {
    return _minimumValueImageView ? _minimumValueImageView->image() : nullptr;
}

void UISlider::setMinimumValueImage(const Ref<UIImage>& image) {
    setValueImage(_minimumValueImageView, image);
}

Ref<UIImage> UISlider::maximumValueImage() const {
    return _maximumValueImageView ? _maximumValueImageView->image() : nullptr;
}

void UISlider::setMaximumValueImage(const Ref<UIImage>& image) {
    setValueImage(_maximumValueImageView, image);
}

void UISlider::setValueImage(Ref<UIImageView>& view, const Ref<UIImage>& image) {
    if (!view && !image) {
        return;
    }
    if (!view) {
        view = alloc<UIImageView>()->init();
        addSubview(view);
    }
    view->setImage(image);
    setNeedsLayout();
}

CGRect UISlider::valueImageRect(const Ref<UIImageView>& view, const CGRect& bounds,
                                bool atMinimum) const {
    const Ref<UIImage> image = view ? view->image() : nullptr;
    if (!image) {
        return CGRectZero;
    }
    const CGSize size = image->size();
    // Right to left, the minimum is at the right.
    const bool atLeft = atMinimum != (effectiveUserInterfaceLayoutDirection() ==
                                      UIUserInterfaceLayoutDirectionRightToLeft);
    const CGFloat x = atLeft ? bounds.origin.x : CGRectGetMaxX(bounds) - size.width;
    return CGRectMake(x, CGRectGetMidY(bounds) - size.height / 2, size.width, size.height);
}

CGRect UISlider::minimumValueImageRectForBounds(const CGRect& bounds) const {
    return valueImageRect(_minimumValueImageView, bounds, true);
}

CGRect UISlider::maximumValueImageRectForBounds(const CGRect& bounds) const {
    return valueImageRect(_maximumValueImageView, bounds, false);
}

CGRect UISlider::trackRectForBounds(const CGRect& bounds) const {
    CGFloat left = bounds.origin.x, right = CGRectGetMaxX(bounds);
    for (const CGRect& image :
         {minimumValueImageRectForBounds(bounds), maximumValueImageRectForBounds(bounds)}) {
        if (image.size.width <= 0) {
            continue;
        }
        if (CGRectGetMidX(image) < CGRectGetMidX(bounds)) {
            left += image.size.width + kValueImageSpacing;
        } else {
            right -= image.size.width + kValueImageSpacing;
        }
    }
    return CGRectMake(left, CGRectGetMidY(bounds) - kTrackHeight / 2, std::max(0.0, right - left),
                      kTrackHeight);
}

void UISlider::layoutSubviews() {
    UIControl::layoutSubviews();
    if (_minimumValueImageView) {
        _minimumValueImageView->setFrame(minimumValueImageRectForBounds(bounds()));
    }
    if (_maximumValueImageView) {
        _maximumValueImageView->setFrame(maximumValueImageRectForBounds(bounds()));
    }
}

CGRect UISlider::thumbRectForBounds(const CGRect& bounds, const CGRect& trackRect,
                                    float value) const {
    const CGFloat radius = kThumbDiameter / 2;
    const CGFloat travel = std::max(0.0, trackRect.size.width - kThumbDiameter);
    const double span = static_cast<double>(_maximumValue) - _minimumValue;
    const double fraction =
        span > 0 && !std::isnan(value)
            ? std::clamp((static_cast<double>(value) - _minimumValue) / span, 0.0, 1.0)
            : 0;
    const CGFloat centreX =
        effectiveUserInterfaceLayoutDirection() == UIUserInterfaceLayoutDirectionRightToLeft
            ? CGRectGetMaxX(trackRect) - radius - fraction * travel
            : trackRect.origin.x + radius + fraction * travel;
    return CGRectMake(centreX - radius, CGRectGetMidY(bounds) - radius, kThumbDiameter,
                      kThumbDiameter);
}

CGSize UISlider::intrinsicContentSize() const {
    return CGSizeMake(UIViewNoIntrinsicMetric, kHeight);
}

CGSize UISlider::sizeThatFits(CGSize) const {
    return CGSizeMake(frame().size.width, kHeight);
}

float UISlider::valueAtThumbCentre(CGFloat x) const {
    const CGRect track = trackRectForBounds(bounds());
    const CGFloat travel = track.size.width - kThumbDiameter;
    if (travel <= 0) {
        return _value;
    }
    const CGFloat fromMinimum =
        effectiveUserInterfaceLayoutDirection() == UIUserInterfaceLayoutDirectionRightToLeft
            ? CGRectGetMaxX(track) - kThumbDiameter / 2 - x
            : x - track.origin.x - kThumbDiameter / 2;
    const double fraction = std::clamp(fromMinimum / travel, 0.0, 1.0);
    const double span = static_cast<double>(_maximumValue) - _minimumValue;
    return static_cast<float>(_minimumValue + fraction * span);
}

bool UISlider::beginTrackingWithTouch(const Ref<UITouch>& touch) {
    const CGPoint point = touch->locationInView(self<UIView>());
    const CGRect thumb = thumbRectForBounds(bounds(), trackRectForBounds(bounds()), _value);
    if (!CGRectContainsPoint(thumb, point)) {
        return false;
    }
    _grabOffset = point.x - CGRectGetMidX(thumb);
    _valueAtTouchDown = _value;
    return true;
}

bool UISlider::continueTrackingWithTouch(const Ref<UITouch>& touch) {
    followTouch(touch);
    return true;
}

void UISlider::endTrackingWithTouch(const Ref<UITouch>& touch) {
    followTouch(touch);
    if (!isContinuous() && _value != _valueAtTouchDown) {
        sendActionsForControlEvents(UIControlEventValueChanged);
    }
}

void UISlider::followTouch(const Ref<UITouch>& touch) {
    const CGPoint point = touch->locationInView(self<UIView>());
    const float next = valueAtThumbCentre(point.x - _grabOffset);
    if (next == _value) {
        return;
    }
    setValue(next);
    if (isContinuous()) {
        sendActionsForControlEvents(UIControlEventValueChanged);
    }
}
