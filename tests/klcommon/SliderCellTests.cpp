#include <gtest/gtest.h>

#include <Foundation/NSString.h>
#include <Foundation/SDKEventLog.h>
#include <UIKit/UIAlertAction.h>
#include <UIKit/UIAlertController.h>
#include <UIKit/UISlider.h>
#include <UIKit/UITableView.h>
#include <UIKit/UITapGestureRecognizer.h>
#include <UIKit/UITextField.h>

#include "HostedPage.h"
#include "KLSliderCell.h"
#include "NumericRowHarness.h"

namespace {

using NumericRow::notifications;
using NumericRow::tapValueLabel;
using NumericRow::typeAndTap;

Value::Dictionary sliderRow(Value::Dictionary extra = {}) {
    return NumericRow::row("KLSliderCell", std::move(extra));
}

TEST(SliderCell, BuildsTheRowFromItsSpecifier) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {sliderRow({{"title", "Brightness"},
                                      {"min", 0.25},
                                      {"max", "2.5"},
                                      {"default", 1},
                                      {"height", 44}})});
    auto cell = page.cell<KLSliderCell>(0);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(page.specifier(0)->propertyForKey("height"), Value(45));
    EXPECT_EQ(page.controller->table()->sections()[0].rows[0].height, 45);

    EXPECT_EQ(cell->title()->text(), "Brightness");
    EXPECT_EQ(cell->title()->font()->pointSize(), 13);
    EXPECT_EQ(cell->slider()->minimumValue(), 0.25f);
    EXPECT_EQ(cell->slider()->maximumValue(), 2.5f);
    // Nothing stored: 0, held at the minimum by the slider, shown as read.
    EXPECT_EQ(cell->slider()->value(), 0.25f);
    EXPECT_TRUE(cell->slider()->isContinuous());
    EXPECT_EQ(cell->valueLabel()->text(), "0.0");
    EXPECT_EQ(cell->valueLabel()->font()->pointSize(), 13);
    EXPECT_EQ(cell->valueLabel()->textAlignment(), NSTextAlignmentCenter);
    EXPECT_TRUE(cell->valueLabel()->adjustsFontSizeToFitWidth());
    EXPECT_EQ(cell->valueLabel()->minimumScaleFactor(), 0);
    EXPECT_TRUE(cell->valueLabel()->isUserInteractionEnabled());
    ASSERT_NE(cell->tapGesture(), nullptr);
    EXPECT_EQ(cell->tapGesture()->view(), cell->valueLabel());
    EXPECT_TRUE(cell->slider()->hasTarget(cell.get(), UIControlEventValueChanged));
    for (const Ref<UIView>& view : {Ref<UIView>(cell->title()), Ref<UIView>(cell->slider()),
                                    Ref<UIView>(cell->valueLabel())}) {
        EXPECT_EQ(view->superview(), cell);
        EXPECT_FALSE(view->translatesAutoresizingMaskIntoConstraints());
    }
    // Creating the row stores nothing.
    EXPECT_TRUE(page.stored("level").isNil());
    EXPECT_EQ(notifications(), 0u);
}

TEST(SliderCell, TitleIsTheTextGivenOrTitle) {
    struct Case {
        Value title;
        std::optional<std::string> shown;
    };
    const Case cases[] = {{Value(), "Title"}, {"", ""}, {"Glow", "Glow"}, {Value(3), "Title"}};
    for (const Case& c : cases) {
        TemporaryDeviceRoot root;
        Value::Dictionary row = sliderRow();
        if (!c.title.isNil()) {
            row["title"] = c.title;
        }
        HostedPage page(root, {row});
        EXPECT_EQ(page.cell<KLSliderCell>(0)->title()->text(), c.shown);
    }
}

TEST(SliderCell, LaysOutByItsConstraints) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {sliderRow({{"title", "Brightness"}, {"max", 1}})});
    auto cell = page.cell<KLSliderCell>(0);
    page.window->layoutIfNeeded();
    const CGRect bounds = cell->bounds();
    ASSERT_EQ(bounds.size, CGSizeMake(358, 45));
    const CGFloat titleWidth = cell->title()->intrinsicContentSize().width;
    ASSERT_GT(titleWidth, 0);
    EXPECT_EQ(cell->title()->frame(), CGRectMake(15, 0, titleWidth, 45));
    EXPECT_EQ(cell->valueLabel()->frame(), CGRectMake(313, 0, 30, 45));
    EXPECT_EQ(cell->slider()->frame(), CGRectMake(20 + titleWidth, 0, 288 - titleWidth, 45));
}

TEST(SliderCell, StoredValueOutsideTheBoundsShowsAsStoredUntilTheFirstChange) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {sliderRow({{"max", 100}})}, {{"level", 150}});
    auto cell = page.cell<KLSliderCell>(0);
    EXPECT_EQ(cell->slider()->value(), 100);
    EXPECT_EQ(cell->valueLabel()->text(), "150.0");
    EXPECT_EQ(page.stored("level"), Value(150));

    page.drag(cell->slider(), 50, 1);
    EXPECT_EQ(cell->valueLabel()->text(),
              NSString::stringWithFormat("%.1f", static_cast<double>(cell->slider()->value())));
    EXPECT_EQ(page.stored("level"), Value(static_cast<double>(cell->slider()->value())));
}

TEST(SliderCell, EveryMovementOfADragIsShownAndStored) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {sliderRow({{"max", 100}})});
    auto cell = page.cell<KLSliderCell>(0);
    page.drag(cell->slider(), 100.0f / 3, 6);
    EXPECT_EQ(notifications(), 6u);
    const double value = cell->slider()->value();
    EXPECT_NEAR(value, 100.0 / 3, 0.5);
    // Shown with one decimal, stored with the slider's every digit, as a real.
    EXPECT_EQ(cell->valueLabel()->text(), NSString::stringWithFormat("%.1f", value));
    EXPECT_EQ(page.stored("level").type(), Value::Type::Real);
    EXPECT_EQ(page.stored("level").doubleValue(), value);
}

TEST(SliderCell, TapOnTheValuePresentsTheCustomValueAlert) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {sliderRow({{"max", 1}, {"default", 0.456}})}, {{"level", 0.46}});
    auto cell = page.cell<KLSliderCell>(0);
    Ref<UIAlertController> alert = tapValueLabel(page, cell->valueLabel());
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->title(), "Custom value");
    EXPECT_EQ(alert->message(), "Enter a value");
    EXPECT_EQ(alert->preferredStyle(), UIAlertControllerStyleAlert);
    ASSERT_EQ(alert->textFields().size(), 1u);
    Ref<UITextField> field = alert->textFields()[0];
    EXPECT_EQ(field->placeholder(), "0.46");
    EXPECT_EQ(field->text(), "0.5");
    EXPECT_EQ(field->keyboardType(), UIKeyboardTypeDefault);
    ASSERT_EQ(alert->actions().size(), 2u);
    EXPECT_EQ(alert->actions()[0]->title(), "Cancel");
    EXPECT_EQ(alert->actions()[1]->title(), "OK");
    EXPECT_EQ(alert->actions()[0]->style(), UIAlertActionStyleDefault);
    EXPECT_EQ(alert->actions()[1]->style(), UIAlertActionStyleDefault);
    EXPECT_EQ(alert->preferredAction(), nullptr);
    auto presents = SDKEventLog::records<SDKEvents::Present>();
    ASSERT_EQ(presents.size(), 1u);
    EXPECT_TRUE(presents[0].animated);

    // The alert covers the page: another tap does not reach the label.
    EXPECT_EQ(tapValueLabel(page, cell->valueLabel()), alert);
    EXPECT_EQ(SDKEventLog::records<SDKEvents::Present>().size(), 1u);
    EXPECT_TRUE(SDKEventLog::records<SDKEvents::Error>().empty());

    // OK without editing applies the prefilled one-decimal text.
    page.tapButton(alert, "OK");
    EXPECT_EQ(page.controller->presentedViewController(), nullptr);
    EXPECT_EQ(page.stored("level"), Value(0.5));
    EXPECT_EQ(cell->valueLabel()->text(), "0.5");
}

TEST(SliderCell, TheFieldStartsFromWhatIsStoredAtTheTap) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {sliderRow({{"max", 10}}), sliderRow({{"key", "low"}, {"min", -1}})},
                    {{"low", -0.04}});
    auto cell = page.cell<KLSliderCell>(0);
    Ref<UIAlertController> alert = tapValueLabel(page, cell->valueLabel());
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->textFields()[0]->placeholder(), "0.00");
    EXPECT_EQ(alert->textFields()[0]->text(), "0.0");
    page.tapButton(alert, "Cancel");

    // Stored elsewhere after the row was made: the field shows it, printf-rounded.
    page.store({{"level", 7.25}, {"low", -0.04}});
    alert = tapValueLabel(page, cell->valueLabel());
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->textFields()[0]->text(), "7.2");
    page.tapButton(alert, "Cancel");
    EXPECT_EQ(cell->valueLabel()->text(), "0.0");

    // A negative value that prints as zero keeps its sign.
    auto low = page.cell<KLSliderCell>(1);
    EXPECT_EQ(low->valueLabel()->text(), "-0.0");
    alert = tapValueLabel(page, low->valueLabel());
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->textFields()[0]->text(), "-0.0");
}

TEST(SliderCell, TypedSingleTenthIsStoredInSinglePrecision) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {sliderRow({{"max", 1}})});
    auto cell = page.cell<KLSliderCell>(0);
    Ref<UIAlertController> alert = tapValueLabel(page, cell->valueLabel());
    ASSERT_NE(alert, nullptr);
    typeAndTap(page, alert, "0.1");
    EXPECT_EQ(cell->slider()->value(), 0.1f);
    EXPECT_EQ(cell->valueLabel()->text(), "0.1");
    EXPECT_EQ(page.stored("level"), Value(0.10000000149011612));
    EXPECT_EQ(notifications(), 1u);
}

TEST(SliderCell, TypedTextIsReadByItsLeadingNumberAndClamped) {
    for (const NumericRow::TypedCase& c : NumericRow::kTypedCases) {
        TemporaryDeviceRoot root;
        HostedPage page(root, {sliderRow({{"min", c.minimum}, {"max", c.maximum}})});
        auto cell = page.cell<KLSliderCell>(0);
        Ref<UIAlertController> alert = tapValueLabel(page, cell->valueLabel());
        ASSERT_NE(alert, nullptr) << c.text;
        typeAndTap(page, alert, c.text);
        const double expected = static_cast<float>(c.expected);
        EXPECT_EQ(page.stored("level"), Value(expected)) << c.text;
        EXPECT_EQ(cell->valueLabel()->text(), NSString::stringWithFormat("%.1f", expected))
            << c.text;
    }
}

TEST(SliderCell, CancelChangesNothing) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {sliderRow({{"max", 10}})}, {{"level", 4}});
    auto cell = page.cell<KLSliderCell>(0);
    Ref<UIAlertController> alert = tapValueLabel(page, cell->valueLabel());
    ASSERT_NE(alert, nullptr);
    typeAndTap(page, alert, "7", "Cancel");
    EXPECT_EQ(page.controller->presentedViewController(), nullptr);
    EXPECT_EQ(page.stored("level"), Value(4));
    EXPECT_EQ(cell->slider()->value(), 4);
    EXPECT_EQ(cell->valueLabel()->text(), "4.0");
    EXPECT_EQ(notifications(), 0u);
}

TEST(SliderCell, BoundsInTheWrongOrderMeetAtTheMaximum) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {sliderRow({{"min", 5}, {"max", 1}}), sliderRow({{"key", "bare"}})},
                    {{"level", 3}});
    auto crossed = page.cell<KLSliderCell>(0);
    EXPECT_EQ(crossed->slider()->minimumValue(), 1);
    EXPECT_EQ(crossed->slider()->maximumValue(), 1);
    EXPECT_EQ(crossed->slider()->value(), 1);
    EXPECT_EQ(crossed->valueLabel()->text(), "3.0");
    // Neither bound: the slider can only hold 0.
    auto bare = page.cell<KLSliderCell>(1);
    EXPECT_EQ(bare->slider()->minimumValue(), 0);
    EXPECT_EQ(bare->slider()->maximumValue(), 0);
}

TEST(SliderCell, WithoutAViewControllerATapPresentsNothing) {
    SDKEventLog::clear();
    Ref<PSSpecifier> specifier = alloc<PSSpecifier>()->initWithProperties({{"max", 5}});
    auto cell = alloc<KLSliderCell>()->initWithStyle(UITableViewCellStyleDefault, "x", specifier);
    ASSERT_NE(cell, nullptr);
    cell->tapValue(cell->tapGesture());
    EXPECT_TRUE(SDKEventLog::records<SDKEvents::Present>().empty());
    EXPECT_EQ(cell->valueLabel()->text(), "0.0");
    EXPECT_EQ(alloc<KLSliderCell>()
                  ->initWithStyle(UITableViewCellStyleDefault, std::nullopt, nullptr)
                  ->title()
                  ->text(),
              "Title");
}

TEST(SliderCell, IsFoundByName) {
    EXPECT_EQ(objc_getClass("KLSliderCell"), &OBJC_CLASS_$_KLSliderCell);
    EXPECT_TRUE(class_respondsToSelector(objc_getClass("KLSliderCell"),
                                         "initWithStyle:reuseIdentifier:specifier:"));
}

} // namespace
