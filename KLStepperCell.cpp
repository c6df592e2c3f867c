#include "KLStepperCell.h"

#include <Foundation/NSException.h>
#include <Foundation/NSString.h>
#include <Foundation/Value.h>
#include <UIKit/NSLayoutConstraint.h>
#include <UIKit/UIFont.h>
#include <UIKit/UILabel.h>
#include <UIKit/UIStepper.h>
#include <UIKit/UITapGestureRecognizer.h>

#include "KLCustomValueEntry.h"

extern "C"
    __attribute__((visibility("default"))) constinit const objc_class OBJC_CLASS_$_KLStepperCell{
        "KLStepperCell", &OBJC_CLASS_$_PSTableCell,
        PSTableCellClassMethods<KLStepperCell>::classMethods,
        PSTableCellClassMethods<KLStepperCell>::instanceMethods};

namespace {

constexpr CGFloat kStepperFontSize = 13;

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
    _title->setFont(UIFont::systemFontOfSize(kStepperFontSize));
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
    _valueLabel->setFont(UIFont::systemFontOfSize(kStepperFontSize));
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
    Weak<KLStepperCell> weakCell = self<KLStepperCell>();
    KLCustomValueEntry::present<UIStepper>(self<PSTableCell>(), [weakCell] {
        Ref<KLStepperCell> cell = weakCell.lock();
        return cell ? cell->stepper() : nullptr;
    });
}
