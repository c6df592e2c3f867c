#include <gtest/gtest.h>

#include <Foundation/NSString.h>
#include <Foundation/SDKEventLog.h>
#include <UIKit/UIAlertAction.h>
#include <UIKit/UIAlertController.h>
#include <UIKit/UITableView.h>
#include <UIKit/UITapGestureRecognizer.h>
#include <UIKit/UITextField.h>

#include "HostedPage.h"
#include "KLStepperCell.h"
#include "NumericRowHarness.h"

namespace {

using Button = UIStepper::Button;
using NumericRow::notifications;
using NumericRow::tapValueLabel;
using NumericRow::typeAndTap;

Value::Dictionary stepperRow(Value::Dictionary extra = {}) {
    return NumericRow::row("KLStepperCell", std::move(extra));
}

TEST(StepperCell, BuildsTheRowFromItsSpecifier) {
    TemporaryDeviceRoot root;
    HostedPage page(
        root,
        {stepperRow(
            {{"title", "Columns"}, {"min", 1}, {"max", "12"}, {"default", 4}, {"height", 60}})},
        {{"level", 3}});
    auto cell = page.cell<KLStepperCell>(0);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(page.specifier(0)->propertyForKey("height"), Value(45));
    EXPECT_EQ(page.controller->table()->sections()[0].rows[0].height, 45);
    EXPECT_EQ(cell->title()->text(), "Columns");
    EXPECT_EQ(cell->title()->font()->pointSize(), 13);

    Ref<UIStepper> stepper = cell->stepper();
    EXPECT_EQ(stepper->minimumValue(), 1);
    EXPECT_EQ(stepper->maximumValue(), 12);
    EXPECT_EQ(stepper->value(), 3);
    EXPECT_TRUE(stepper->wraps());
    EXPECT_EQ(stepper->stepValue(), 1);
    EXPECT_TRUE(stepper->autorepeat());
    EXPECT_TRUE(stepper->isContinuous());
    EXPECT_TRUE(stepper->hasTarget(cell.get(), UIControlEventValueChanged));

    EXPECT_EQ(cell->valueLabel()->text(), "3.0");
    EXPECT_EQ(cell->valueLabel()->textAlignment(), NSTextAlignmentCenter);
    EXPECT_TRUE(cell->valueLabel()->adjustsFontSizeToFitWidth());
    EXPECT_TRUE(cell->valueLabel()->isUserInteractionEnabled());
    EXPECT_EQ(cell->tapGesture()->view(), cell->valueLabel());
    for (const Ref<UIView>& view :
         {Ref<UIView>(cell->title()), Ref<UIView>(stepper), Ref<UIView>(cell->valueLabel())}) {
        EXPECT_EQ(view->superview(), cell);
        EXPECT_FALSE(view->translatesAutoresizingMaskIntoConstraints());
    }
    // Creating the row stores nothing.
    EXPECT_EQ(page.stored("level"), Value(3));
    EXPECT_EQ(notifications(), 0u);
}

TEST(StepperCell, TitleIsTheTextGivenOrTitle) {
    struct Case {
        Value title;
        std::optional<std::string> shown;
    };
    const Case cases[] = {{Value(), "Title"}, {"", ""}, {"Rows", "Rows"}};
    for (const Case& c : cases) {
        TemporaryDeviceRoot root;
        Value::Dictionary row = stepperRow({{"max", 10}});
        if (!c.title.isNil()) {
            row["title"] = c.title;
        }
        HostedPage page(root, {row});
        EXPECT_EQ(page.cell<KLStepperCell>(0)->title()->text(), c.shown);
    }
}

TEST(StepperCell, LaysOutByItsConstraints) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {stepperRow({{"title", "Columns"}, {"max", 10}})});
    auto cell = page.cell<KLStepperCell>(0);
    page.window->layoutIfNeeded();
    ASSERT_EQ(cell->bounds().size, CGSizeMake(358, 45));
    const CGFloat titleWidth = cell->title()->intrinsicContentSize().width;
    ASSERT_GT(titleWidth, 0);
    EXPECT_EQ(cell->title()->frame(), CGRectMake(15, 0, titleWidth, 45));
    EXPECT_EQ(cell->valueLabel()->frame(), CGRectMake(313, 0, 30, 45));
    // The stepper's own height, centred; its width is what lies between.
    EXPECT_EQ(cell->stepper()->frame(), CGRectMake(20 + titleWidth, 6.5, 288 - titleWidth, 32));
}

TEST(StepperCell, StepsWrapAndAreStoredAsReals) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {stepperRow({{"max", 10}})}, {{"level", 10}});
    auto cell = page.cell<KLStepperCell>(0);
    page.press(cell->stepper(), Button::Increment);
    EXPECT_EQ(cell->valueLabel()->text(), "0.0");
    EXPECT_EQ(page.stored("level"), Value(0.0));
    EXPECT_EQ(page.stored("level").type(), Value::Type::Real);
    page.press(cell->stepper(), Button::Decrement);
    EXPECT_EQ(cell->valueLabel()->text(), "10.0");
    EXPECT_EQ(page.stored("level"), Value(10.0));
    // Held: every repeat is shown and stored.
    page.press(cell->stepper(), Button::Decrement, 2);
    EXPECT_EQ(cell->valueLabel()->text(), "7.0");
    EXPECT_EQ(page.stored("level"), Value(7.0));
    EXPECT_EQ(notifications(), 5u);
}

TEST(StepperCell, TypedValueIsNotSnappedToTheStep) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {stepperRow({{"max", 10}})});
    auto cell = page.cell<KLStepperCell>(0);
    Ref<UIAlertController> alert = tapValueLabel(page, cell->valueLabel());
    ASSERT_NE(alert, nullptr);
    typeAndTap(page, alert, "2.5");
    EXPECT_EQ(page.stored("level"), Value(2.5));
    page.press(cell->stepper(), Button::Increment);
    EXPECT_EQ(cell->valueLabel()->text(), "3.5");
    EXPECT_EQ(page.stored("level"), Value(3.5));
}

TEST(StepperCell, StoredValueOutsideTheBoundsShowsAsStoredUntilTheFirstStep) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {stepperRow({{"max", 100}})}, {{"level", 150}});
    auto cell = page.cell<KLStepperCell>(0);
    EXPECT_EQ(cell->stepper()->value(), 100);
    EXPECT_EQ(cell->valueLabel()->text(), "150.0");
    EXPECT_EQ(page.stored("level"), Value(150));
    page.press(cell->stepper(), Button::Decrement);
    EXPECT_EQ(cell->valueLabel()->text(), "99.0");
    EXPECT_EQ(page.stored("level"), Value(99.0));
}

TEST(StepperCell, TapOnTheValuePresentsTheCustomValueAlert) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {stepperRow({{"max", 1}})}, {{"level", 0.46}});
    auto cell = page.cell<KLStepperCell>(0);
    Ref<UIAlertController> alert = tapValueLabel(page, cell->valueLabel());
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->title(), "Custom value");
    EXPECT_EQ(alert->message(), "Enter a value");
    EXPECT_EQ(alert->preferredStyle(), UIAlertControllerStyleAlert);
    ASSERT_EQ(alert->textFields().size(), 1u);
    EXPECT_EQ(alert->textFields()[0]->placeholder(), "0.00");
    EXPECT_EQ(alert->textFields()[0]->text(), "0.5");
    EXPECT_EQ(alert->textFields()[0]->keyboardType(), UIKeyboardTypeDefault);
    ASSERT_EQ(alert->actions().size(), 2u);
    EXPECT_EQ(alert->actions()[0]->title(), "Cancel");
    EXPECT_EQ(alert->actions()[1]->title(), "OK");
    EXPECT_EQ(alert->actions()[0]->style(), UIAlertActionStyleDefault);
    EXPECT_EQ(alert->actions()[1]->style(), UIAlertActionStyleDefault);
    EXPECT_EQ(alert->preferredAction(), nullptr);

    page.tapButton(alert, "OK");
    EXPECT_EQ(page.stored("level"), Value(0.5));
    EXPECT_EQ(cell->valueLabel()->text(), "0.5");
}

TEST(StepperCell, TypedTenthIsStoredAsTyped) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {stepperRow({{"max", 1}})});
    auto cell = page.cell<KLStepperCell>(0);
    Ref<UIAlertController> alert = tapValueLabel(page, cell->valueLabel());
    ASSERT_NE(alert, nullptr);
    typeAndTap(page, alert, "0.1");
    EXPECT_EQ(cell->stepper()->value(), 0.1);
    EXPECT_EQ(cell->valueLabel()->text(), "0.1");
    EXPECT_EQ(page.stored("level"), Value(0.1));
}

TEST(StepperCell, TypedTextIsReadByItsLeadingNumberAndClamped) {
    for (const NumericRow::TypedCase& c : NumericRow::kTypedCases) {
        TemporaryDeviceRoot root;
        HostedPage page(root, {stepperRow({{"min", c.minimum}, {"max", c.maximum}})});
        auto cell = page.cell<KLStepperCell>(0);
        Ref<UIAlertController> alert = tapValueLabel(page, cell->valueLabel());
        ASSERT_NE(alert, nullptr) << c.text;
        typeAndTap(page, alert, c.text);
        EXPECT_EQ(page.stored("level"), Value(c.expected)) << c.text;
        EXPECT_EQ(cell->valueLabel()->text(), NSString::stringWithFormat("%.1f", c.expected))
            << c.text;
    }
}

TEST(StepperCell, CancelChangesNothing) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {stepperRow({{"max", 10}})}, {{"level", 4}});
    auto cell = page.cell<KLStepperCell>(0);
    Ref<UIAlertController> alert = tapValueLabel(page, cell->valueLabel());
    ASSERT_NE(alert, nullptr);
    typeAndTap(page, alert, "7", "Cancel");
    EXPECT_EQ(page.controller->presentedViewController(), nullptr);
    EXPECT_EQ(page.stored("level"), Value(4));
    EXPECT_EQ(cell->stepper()->value(), 4);
    EXPECT_EQ(cell->valueLabel()->text(), "4.0");
    EXPECT_EQ(notifications(), 0u);
}

TEST(StepperCell, BoundsTheStepperCannotTakeStillBuildTheRow) {
    struct Case {
        Value minimum, maximum;
        double heldMinimum, heldMaximum;
    };
    const Case cases[] = {
        // Neither bound, or only a minimum: the maximum 0 is refused.
        {Value(), Value(), 0, 100},
        {Value(3), Value(), 3, 100},
        {Value(5), Value(5), 5, 100},
        {Value(10), Value(1), 10, 100},
        // Above the stepper's first maximum: taken once the maximum is in.
        {Value(150), Value(200), 150, 200},
        // Refused before and after: the stepper keeps its own minimum.
        {Value(150), Value(120), 0, 120},
        {Value(-10), Value(-5), -10, -5},
    };
    for (const Case& c : cases) {
        TemporaryDeviceRoot root;
        Value::Dictionary extra;
        if (!c.minimum.isNil()) {
            extra["min"] = c.minimum;
        }
        if (!c.maximum.isNil()) {
            extra["max"] = c.maximum;
        }
        HostedPage page(root, {stepperRow(extra)}, {{"level", 7}});
        auto cell = page.cell<KLStepperCell>(0);
        ASSERT_NE(cell, nullptr);
        EXPECT_TRUE(SDKEventLog::records<SDKEvents::Error>().empty());
        Ref<UIStepper> stepper = cell->stepper();
        EXPECT_EQ(stepper->minimumValue(), c.heldMinimum) << c.minimum.doubleValue();
        EXPECT_EQ(stepper->maximumValue(), c.heldMaximum) << c.minimum.doubleValue();
        EXPECT_EQ(stepper->value(), std::clamp(7.0, c.heldMinimum, c.heldMaximum));
        EXPECT_EQ(cell->valueLabel()->text(), "7.0");
        // Typed values are clamped to the bounds the stepper holds.
        Ref<UIAlertController> alert = tapValueLabel(page, cell->valueLabel());
        ASSERT_NE(alert, nullptr);
        typeAndTap(page, alert, "1000");
        EXPECT_EQ(page.stored("level"), Value(c.heldMaximum));
    }
}

TEST(StepperCell, WithoutAViewControllerATapPresentsNothing) {
    SDKEventLog::clear();
    auto cell = alloc<KLStepperCell>()->initWithStyle(UITableViewCellStyleDefault, "x", nullptr);
    ASSERT_NE(cell, nullptr);
    cell->tapValue(cell->tapGesture());
    EXPECT_TRUE(SDKEventLog::records<SDKEvents::Present>().empty());
    EXPECT_EQ(cell->title()->text(), "Title");
    EXPECT_EQ(cell->valueLabel()->text(), "0.0");
}

TEST(StepperCell, IsFoundByName) {
    EXPECT_EQ(objc_getClass("KLStepperCell"), &OBJC_CLASS_$_KLStepperCell);
    EXPECT_TRUE(class_respondsToSelector(objc_getClass("KLStepperCell"),
                                         "initWithStyle:reuseIdentifier:specifier:"));
}

} // namespace
