#include <Preferences/PSSliderTableCell.h>

#include <algorithm>
#include <cmath>

#include <Foundation/NSString.h>
#include <Preferences/PSListController.h>
#include <UIKit/UIColor.h>
#include <UIKit/UILabel.h>
#include <UIKit/UISlider.h>

extern "C" __attribute__((
    visibility("default"))) constinit const objc_class OBJC_CLASS_$_PSSliderTableCell{
    "PSSliderTableCell", &OBJC_CLASS_$_PSTableCell,
    PSTableCellClassMethods<PSSliderTableCell>::classMethods,
    PSTableCellClassMethods<PSSliderTableCell>::instanceMethods};

namespace {

// A bound from the row: a finite number, else the fallback.
float bound(const Ref<PSSpecifier>& specifier, const char* key, float fallback) {
    const Value value = specifier ? specifier->propertyForKey(key) : Value();
    const double number = value.doubleValue();
    return value.isNumber() && std::isfinite(number) && std::fabs(number) < 1e30
               ? static_cast<float>(number)
               : fallback;
}

} // namespace

Ref<PSSliderTableCell>
PSSliderTableCell::initWithStyle(UITableViewCellStyle style,
                                 const std::optional<std::string>& reuseIdentifier,
                                 const Ref<PSSpecifier>& specifier) {
    if (!PSTableCell::initWithStyle(style, reuseIdentifier, specifier)) {
        return nullptr;
    }
    _slider = alloc<UISlider>()->init();
    _slider->setMinimumValue(bound(specifier, "min", 0));
    _slider->setMaximumValue(bound(specifier, "max", 1));
    if (Ref<PSListController> target = specifier ? specifier->target() : nullptr) {
        _slider->setMinimumValueImage(UIImage::imageNamed(
            specifier->propertyForKey("leftImage").optionalString(), target->bundle()));
        _slider->setMaximumValueImage(UIImage::imageNamed(
            specifier->propertyForKey("rightImage").optionalString(), target->bundle()));
    }
    _slider->addTarget(self<PSSliderTableCell>(), &PSSliderTableCell::sliderChanged,
                       UIControlEventValueChanged);
    contentView()->addSubview(_slider);
    if (specifier && specifier->propertyForKey("showValue").boolValue()) {
        _valueLabel = alloc<UILabel>()->init();
        _valueLabel->setTextAlignment(NSTextAlignmentRight);
        _valueLabel->setTextColor(UIColor::secondaryLabelColor());
        contentView()->addSubview(_valueLabel);
    }
    return self<PSSliderTableCell>();
}

void PSSliderTableCell::refreshCellContentsWithSpecifier(const Ref<PSSpecifier>& specifier) {
    PSTableCell::refreshCellContentsWithSpecifier(specifier);
    textLabel()->setHidden(true);
    if (specifier) {
        const Value shown = shownValue(specifier);
        // Anything but a number leaves the slider at its minimum.
        _slider->setValue(shown.isNumber() ? static_cast<float>(shown.doubleValue())
                                           : _slider->minimumValue());
        showValue(_slider->value());
    }
}

void PSSliderTableCell::setCellEnabled(bool enabled) {
    PSTableCell::setCellEnabled(enabled);
    _slider->setEnabled(enabled);
}

void PSSliderTableCell::layoutSubviews() {
    PSTableCell::layoutSubviews();
    const Ref<UIView> contentView = this->contentView();
    const CGRect content = contentView->bounds();
    const CGFloat right = _valueLabel ? kValueWidth + 8 : 0;
    // The slider starts where the title would, after the row's icon (worked
    // out left to right, then mirrored where the row is right to left).
    const CGFloat left = contentView->directionalRect(textLabel()->frame()).origin.x;
    const CGFloat width = std::max(0.0, content.size.width - left - kLayoutMargin - right);
    _slider->setFrame(contentView->directionalRect(
        CGRectMake(left, (content.size.height - UISlider::kHeight) / 2, width, UISlider::kHeight)));
    if (_valueLabel) {
        _valueLabel->setFrame(contentView->directionalRect(
            CGRectMake(content.size.width - kLayoutMargin - kValueWidth, 0, kValueWidth,
                       content.size.height)));
    }
}

float PSSliderTableCell::snapped(float value) const {
    Ref<PSSpecifier> row = specifier();
    if (!row || !row->propertyForKey("isSegmented").boolValue()) {
        return value;
    }
    const long count = row->propertyForKey("segmentCount").integerValue();
    const float minimum = _slider->minimumValue(), maximum = _slider->maximumValue();
    if (count < 1 || count > 10000 || maximum <= minimum) {
        return value;
    }
    const float step = (maximum - minimum) / static_cast<float>(count);
    return std::clamp(minimum + std::round((value - minimum) / step) * step, minimum, maximum);
}

void PSSliderTableCell::showValue(float value) {
    if (_valueLabel) {
        _valueLabel->setText(NSString::stringWithFormat("%.2f", value));
    }
}

void PSSliderTableCell::sliderChanged(const Ref<UISlider>& sender) {
    if (!sender) {
        return;
    }
    const float value = snapped(sender->value());
    sender->setValue(value);
    showValue(value);
    if (Ref<PSSpecifier> row = specifier()) {
        row->performSetterWithValue(Value::numberWithDouble(value));
    }
}
