#include "KLCustomValueEntry.h"

#include <limits>
#include <type_traits>

#include <Foundation/NSString.h>
#include <Foundation/Value.h>
#include <Preferences/PSSpecifier.h>
#include <Preferences/PSTableCell.h>
#include <UIKit/UIAlertAction.h>
#include <UIKit/UIAlertController.h>
#include <UIKit/UISlider.h>
#include <UIKit/UIStepper.h>
#include <UIKit/UITextField.h>
#include <UIKit/UIViewController.h>

float KLCustomValueEntry::narrowToFloat(double value) {
    constexpr double kRoundingEdge = 0x1.ffffffp127;
    if (value >= kRoundingEdge) {
        return std::numeric_limits<float>::infinity();
    }
    if (value <= -kRoundingEdge) {
        return -std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(value);
}

template <class Control>
void KLCustomValueEntry::present(const Ref<PSTableCell>& cell,
                                 std::function<Ref<Control>()> control) {
    Ref<UIAlertController> alert = UIAlertController::alertControllerWithTitle(
        "Custom value", "Enter a value", UIAlertControllerStyleAlert);
    // The handlers live in the alert, so they hold it and the cell weakly.
    Weak<PSTableCell> weakCell = cell;
    Weak<UIAlertController> weakAlert = alert;

    alert->addTextFieldWithConfigurationHandler([weakCell](const Ref<UITextField>& textField) {
        Ref<PSTableCell> row = weakCell.lock();
        Ref<PSSpecifier> specifier = row ? row->specifier() : nullptr;
        const double fallback = specifier ? specifier->propertyForKey("default").doubleValue() : 0;
        const double stored = specifier ? specifier->performGetter().doubleValue() : 0;
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
        "OK", UIAlertActionStyleDefault,
        [weakCell, weakAlert, control = std::move(control)](const Ref<UIAlertAction>&) {
            Ref<UIAlertController> shown = weakAlert.lock();
            Ref<Control> target = weakCell.lock() && control ? control() : nullptr;
            if (!shown || shown->textFields().empty() || !target) {
                return;
            }
            double value = NSString::doubleValue(shown->textFields()[0]->text());
            // Bounds in the control's own width, widened for the comparison.
            const double minimum = target->minimumValue();
            const double maximum = target->maximumValue();
            if (value < minimum) {
                value = minimum;
            }
            if (value > maximum) {
                value = maximum;
            }
            if constexpr (std::is_same_v<decltype(target->value()), float>) {
                target->setValue(narrowToFloat(value));
            } else {
                target->setValue(value);
            }
            target->sendActionsForControlEvents(UIControlEventValueChanged);
        });
    alert->addAction(cancel);
    alert->addAction(ok);

    if (Ref<UIViewController> presenter = cell->_viewControllerForAncestor()) {
        presenter->presentViewController(alert, true, nullptr);
    }
}

template void KLCustomValueEntry::present<UISlider>(const Ref<PSTableCell>&,
                                                    std::function<Ref<UISlider>()>);
template void KLCustomValueEntry::present<UIStepper>(const Ref<PSTableCell>&,
                                                     std::function<Ref<UIStepper>()>);
