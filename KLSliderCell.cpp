#include "KLSliderCell.h"

#include <cmath>
#include <limits>

#include <Foundation/NSString.h>
#include <Foundation/Value.h>
#include <UIKit/NSLayoutConstraint.h>
#include <UIKit/UIAlertController.h>
#include <UIKit/UIFont.h>
#include <UIKit/UITextField.h>
#include <UIKit/UIViewController.h>

extern "C"
    __attribute__((visibility("default"))) constinit const objc_class OBJC_CLASS_$_KLSliderCell{
        "KLSliderCell", &OBJC_CLASS_$_PSTableCell,
        PSTableCellClassMethods<KLSliderCell>::classMethods,
        PSTableCellClassMethods<KLSliderCell>::instanceMethods};

namespace {

constexpr CGFloat kFontSize = 13;

// A double narrowed to single precision as the hardware rounds it: to the
// nearest float, and past the largest float's rounding edge to an infinity of
// its sign.
float narrowToFloat(double value) {
    constexpr double kRoundingEdge = 0x1.ffffffp127;
    if (value >= kRoundingEdge) {
        return std::numeric_limits<float>::infinity();
    }
    if (value <= -kRoundingEdge) {
        return -std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(value);
}

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
    _title->setFont(UIFont::systemFontOfSize(kFontSize));
    addSubview(_title);

    _slider = alloc<UISlider>()->initWithFrame(CGRectZero);
    _slider->setTranslatesAutoresizingMaskIntoConstraints(false);
    _slider->setMinimumValue(narrowToFloat(property("min").doubleValue()));
    _slider->setMaximumValue(narrowToFloat(property("max").doubleValue()));
    _slider->setValue(narrowToFloat(stored));
    _slider->addTarget(self<KLSliderCell>(), &KLSliderCell::sliderValueChanged,
                       UIControlEventValueChanged);
    addSubview(_slider);

    _valueLabel = alloc<UILabel>()->initWithFrame(CGRectZero);
    _valueLabel->setTranslatesAutoresizingMaskIntoConstraints(false);
    _valueLabel->setAdjustsFontSizeToFitWidth(true);
    _valueLabel->setTextAlignment(NSTextAlignmentCenter);
    _valueLabel->setText(NSString::stringWithFormat("%.1f", stored));
    _valueLabel->setFont(UIFont::systemFontOfSize(kFontSize));
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
    Ref<UIAlertController> alert = UIAlertController::alertControllerWithTitle(
        "Custom value", "Enter a value", UIAlertControllerStyleAlert);
    // The handlers live in the alert, so they hold it and the cell weakly.
    Weak<KLSliderCell> weakCell = self<KLSliderCell>();
    Weak<UIAlertController> weakAlert = alert;

    alert->addTextFieldWithConfigurationHandler([weakCell](const Ref<UITextField>& textField) {
        Ref<KLSliderCell> cell = weakCell.lock();
        Ref<PSSpecifier> row = cell ? cell->specifier() : nullptr;
        const double fallback = row ? row->propertyForKey("default").doubleValue() : 0;
        const double stored = row ? row->performGetter().doubleValue() : 0;
        textField->setPlaceholder(NSString::stringWithFormat("%.2f", fallback));
        textField->setText(NSString::stringWithFormat("%.1f", stored));
    });

    Ref<UIAlertAction> cancel = UIAlertAction::actionWithTitle(
        "Cancel", UIAlertActionStyleDefault, [weakAlert](const Ref<UIAlertAction>&) {
            if (Ref<UIAlertController> shown = weakAlert.lock()) {
                shown->dismissViewControllerAnimated(true, nullptr);
            }
        });
    Ref<UIAlertAction> ok = UIAlertAction::actionWithTitle(
        "OK", UIAlertActionStyleDefault, [weakCell, weakAlert](const Ref<UIAlertAction>&) {
            Ref<KLSliderCell> cell = weakCell.lock();
            Ref<UIAlertController> shown = weakAlert.lock();
            if (!cell || !shown || shown->textFields().empty()) {
                return;
            }
            Ref<UISlider> slider = cell->slider();
            if (!slider) {
                return;
            }
            double value = NSString::doubleValue(shown->textFields()[0]->text());
            const double minimum = slider->minimumValue();
            const double maximum = slider->maximumValue();
            if (value < minimum) {
                value = minimum;
            }
            if (value > maximum) {
                value = maximum;
            }
            slider->setValue(narrowToFloat(value));
            slider->sendActionsForControlEvents(UIControlEventValueChanged);
        });
    alert->addAction(cancel);
    alert->addAction(ok);

    if (Ref<UIViewController> presenter = _viewControllerForAncestor()) {
        presenter->presentViewController(alert, true, nullptr);
    }
}
