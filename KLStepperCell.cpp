#include "KLStepperCell.h"

#include <Foundation/NSException.h>
#include <Foundation/NSString.h>
#include <Foundation/Value.h>
#include <UIKit/NSLayoutConstraint.h>
#include <UIKit/UIAlertController.h>
#include <UIKit/UIFont.h>
#include <UIKit/UITextField.h>
#include <UIKit/UIViewController.h>

extern "C"
    __attribute__((visibility("default"))) constinit const objc_class OBJC_CLASS_$_KLStepperCell{
        "KLStepperCell", &OBJC_CLASS_$_PSTableCell,
        PSTableCellClassMethods<KLStepperCell>::classMethods,
        PSTableCellClassMethods<KLStepperCell>::instanceMethods};

namespace {

constexpr CGFloat kFontSize = 13;

// Applies a bound; answers NO when the stepper refuses it.
template <class Setter> bool tryBound(Setter setter) {
    try {
        setter();
        return true;
    } catch (const NSException&) {
        return false;
    }
}

} // namespace

Ref<KLStepperCell> KLStepperCell::initWithStyle(UITableViewCellStyle style,
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
    // The title keeps its text's width and the stepper takes the rest: both
    // have a natural width, so the title must hug it harder to be the one
    // that does not stretch.
    _title->setContentHuggingPriority(UILayoutPriorityDefaultLow + 1,
                                      UILayoutConstraintAxisHorizontal);
    addSubview(_title);

    _stepper = alloc<UIStepper>()->initWithFrame(CGRectZero);
    _stepper->setTranslatesAutoresizingMaskIntoConstraints(false);
    _stepper->setWraps(true);
    const double minimum = property("min").doubleValue();
    const double maximum = property("max").doubleValue();
    Ref<UIStepper> stepper = _stepper;
    const bool minimumTaken = tryBound([&] { stepper->setMinimumValue(minimum); });
    tryBound([&] { stepper->setMaximumValue(maximum); });
    if (!minimumTaken) {
        // A minimum at or above the stepper's first maximum fits under the new one.
        tryBound([&] { stepper->setMinimumValue(minimum); });
    }
    _stepper->setValue(stored);
    _stepper->addTarget(self<KLStepperCell>(), &KLStepperCell::sliderValueChanged,
                        UIControlEventValueChanged);
    addSubview(_stepper);

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
        _stepper->leftAnchor()->constraintEqualToAnchor(_title->rightAnchor(), 5),
        _stepper->rightAnchor()->constraintEqualToAnchor(_valueLabel->leftAnchor(), -5),
        _stepper->centerYAnchor()->constraintEqualToAnchor(centerYAnchor()),
    });

    _tapGesture = alloc<UITapGestureRecognizer>()->initWithTarget(self<KLStepperCell>(),
                                                                  &KLStepperCell::tapValue);
    _valueLabel->addGestureRecognizer(_tapGesture);
    return self<KLStepperCell>();
}

void KLStepperCell::sliderValueChanged(const Ref<UIStepper>& sender) {
    if (!sender) {
        return;
    }
    const double value = sender->value();
    _valueLabel->setText(NSString::stringWithFormat("%.1f", value));
    if (Ref<PSSpecifier> row = specifier()) {
        row->performSetterWithValue(Value::numberWithDouble(value));
    }
}

void KLStepperCell::tapValue(const Ref<UIGestureRecognizer>&) {
    Ref<UIAlertController> alert = UIAlertController::alertControllerWithTitle(
        "Custom value", "Enter a value", UIAlertControllerStyleAlert);
    // The handlers live in the alert, so they hold it and the cell weakly.
    Weak<KLStepperCell> weakCell = self<KLStepperCell>();
    Weak<UIAlertController> weakAlert = alert;

    alert->addTextFieldWithConfigurationHandler([weakCell](const Ref<UITextField>& textField) {
        Ref<KLStepperCell> cell = weakCell.lock();
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
            Ref<KLStepperCell> cell = weakCell.lock();
            Ref<UIAlertController> shown = weakAlert.lock();
            if (!cell || !shown || shown->textFields().empty()) {
                return;
            }
            Ref<UIStepper> stepper = cell->stepper();
            if (!stepper) {
                return;
            }
            double value = NSString::doubleValue(shown->textFields()[0]->text());
            if (value < stepper->minimumValue()) {
                value = stepper->minimumValue();
            }
            if (value > stepper->maximumValue()) {
                value = stepper->maximumValue();
            }
            stepper->setValue(value);
            stepper->sendActionsForControlEvents(UIControlEventValueChanged);
        });
    alert->addAction(cancel);
    alert->addAction(ok);

    if (Ref<UIViewController> presenter = _viewControllerForAncestor()) {
        presenter->presentViewController(alert, true, nullptr);
    }
}
