#include "KLSliderCell.h"

#include <Foundation/NSString.h>
#include <Foundation/Value.h>
#include <UIKit/NSLayoutConstraint.h>
#include <UIKit/UIFont.h>
#include <UIKit/UILabel.h>
#include <UIKit/UISlider.h>
#include <UIKit/UITapGestureRecognizer.h>

#include "KLCustomValueEntry.h"

extern "C"
    __attribute__((visibility("default"))) constinit const objc_class OBJC_CLASS_$_KLSliderCell{
        "KLSliderCell", &OBJC_CLASS_$_PSTableCell,
        PSTableCellClassMethods<KLSliderCell>::classMethods,
        PSTableCellClassMethods<KLSliderCell>::instanceMethods};

namespace {

constexpr CGFloat kSliderFontSize = 13;

} // namespace

Ref<KLSliderCell> KLSliderCell::initWithStyle(UITableViewCellStyle style,
                                              const std::optional<std::string>& reuseIdentifier,
                                              const Ref<PSSpecifier>& specifier) {
    if (!PSTableCell::initWithStyle(style, reuseIdentifier, specifier)) {
        return nullptr;
    }
    auto property = [&](const char* key) {
        return specifier ? specifier->propertyForKey(key) : Value();
    };
    if (specifier) {
        specifier->setProperty(Value::numberWithInt(45), "height");
    }
    const double stored = specifier ? specifier->performGetter().doubleValue() : 0;

    _title = alloc<UILabel>()->initWithFrame(CGRectZero);
    _title->setTranslatesAutoresizingMaskIntoConstraints(false);
    // Only text is a title; anything else counts as no title.
    const Value title = property("title");
    _title->setText(title.isString() ? title.optionalString() : std::string("Title"));
    _title->setFont(UIFont::systemFontOfSize(kSliderFontSize));
    addSubview(_title);

    _slider = alloc<UISlider>()->initWithFrame(CGRectZero);
    _slider->setTranslatesAutoresizingMaskIntoConstraints(false);
    _slider->setMinimumValue(KLCustomValueEntry::narrowToFloat(property("min").doubleValue()));
    _slider->setMaximumValue(KLCustomValueEntry::narrowToFloat(property("max").doubleValue()));
    _slider->setValue(KLCustomValueEntry::narrowToFloat(stored));
    _slider->addTarget(self<KLSliderCell>(), &KLSliderCell::sliderValueChanged,
                       UIControlEventValueChanged);
    addSubview(_slider);

    _valueLabel = alloc<UILabel>()->initWithFrame(CGRectZero);
    _valueLabel->setTranslatesAutoresizingMaskIntoConstraints(false);
    _valueLabel->setAdjustsFontSizeToFitWidth(true);
    _valueLabel->setTextAlignment(NSTextAlignmentCenter);
    _valueLabel->setText(NSString::stringWithFormat("%.1f", stored));
    _valueLabel->setFont(UIFont::systemFontOfSize(kSliderFontSize));
    _valueLabel->setUserInteractionEnabled(true);
    addSubview(_valueLabel);

    NSLayoutConstraint::activateConstraints({
        _title->leftAnchor()->constraintEqualToAnchor(leftAnchor(), 15),
        _title->centerYAnchor()->constraintEqualToAnchor(centerYAnchor()),
        _title->heightAnchor()->constraintEqualToConstant(45),
        _valueLabel->rightAnchor()->constraintEqualToAnchor(rightAnchor(), -15),
        _valueLabel->centerYAnchor()->constraintEqualToAnchor(centerYAnchor()),
        _valueLabel->heightAnchor()->constraintEqualToConstant(45),
        _valueLabel->widthAnchor()->constraintEqualToConstant(30),
        _slider->leftAnchor()->constraintEqualToAnchor(_title->rightAnchor(), 5),
        _slider->rightAnchor()->constraintEqualToAnchor(_valueLabel->leftAnchor(), -5),
        _slider->centerYAnchor()->constraintEqualToAnchor(centerYAnchor()),
        _slider->heightAnchor()->constraintEqualToConstant(45),
    });

    _tapGesture = alloc<UITapGestureRecognizer>()->initWithTarget(self<KLSliderCell>(),
                                                                  &KLSliderCell::tapValue);
    _valueLabel->addGestureRecognizer(_tapGesture);
    return self<KLSliderCell>();
}

void KLSliderCell::sliderValueChanged(const Ref<UISlider>& sender) {
    if (!sender) {
        return;
    }
    const double value = sender->value();
    _valueLabel->setText(NSString::stringWithFormat("%.1f", value));
    if (Ref<PSSpecifier> row = specifier()) {
        row->performSetterWithValue(Value::numberWithDouble(value));
    }
}

void KLSliderCell::tapValue(const Ref<UIGestureRecognizer>&) {
    Weak<KLSliderCell> weakCell = self<KLSliderCell>();
    KLCustomValueEntry::present<UISlider>(self<PSTableCell>(), [weakCell] {
        Ref<KLSliderCell> cell = weakCell.lock();
        return cell ? cell->slider() : nullptr;
    });
}
