#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include <Foundation/NSException.h>
#include <UIKit/UIKit.h>

#include "HostError.h"
#include "automation/Finger.h"
#include "automation/Gestures.h"

namespace {

using Button = UIStepper::Button;

class StepperListener : public NSObject {
public:
    void changed(const Ref<UIStepper>& stepper) { values.push_back(stepper->value()); }
    std::vector<double> values;
};

// A finger on one of the stepper's buttons in its window, held while the
// step repeats `repeats` times.
void press(const Ref<UIWindow>& window, const Ref<UIStepper>& stepper, UIStepper::Button button,
           size_t repeats = 0) {
    Finger finger(window);
    Gestures::pressStepper(finger, stepper, button == UIStepper::Button::Increment, repeats);
}

// A stepper at (100, 200) in a window: minus is x 100..147, plus 147..194.
struct StepperScreen {
    StepperScreen() {
        window = alloc<UIWindow>()->initWithFrame(UIScreen::mainScreen()->bounds());
        stepper = alloc<UIStepper>()->initWithFrame(CGRectMake(100, 200, 94, 32));
        window->addSubview(stepper);
        listener = alloc<StepperListener>();
        stepper->addTarget(listener, &StepperListener::changed, UIControlEventValueChanged);
    }
    Ref<UIWindow> window;
    Ref<UIStepper> stepper;
    Ref<StepperListener> listener;
};

TEST(Stepper, DefaultsAreThePlatforms) {
    Ref<UIStepper> stepper = alloc<UIStepper>()->init();
    EXPECT_EQ(stepper->minimumValue(), 0);
    EXPECT_EQ(stepper->maximumValue(), 100);
    EXPECT_EQ(stepper->value(), 0);
    EXPECT_EQ(stepper->stepValue(), 1);
    EXPECT_FALSE(stepper->wraps());
    EXPECT_TRUE(stepper->autorepeat());
    EXPECT_TRUE(stepper->isContinuous());
    EXPECT_EQ(stepper->sizeThatFits(CGSizeMake(300, 300)), CGSizeMake(94, 32));
    EXPECT_EQ(stepper->intrinsicContentSize(), CGSizeMake(94, 32));
}

TEST(Stepper, TakesItsOwnSizeInLayout) {
    Ref<UIWindow> window = alloc<UIWindow>()->initWithFrame(UIScreen::mainScreen()->bounds());
    Ref<UIView> row = alloc<UIView>()->initWithFrame(CGRectMake(0, 100, 300, 45));
    Ref<UIStepper> stepper = alloc<UIStepper>()->init();
    stepper->setTranslatesAutoresizingMaskIntoConstraints(false);
    window->addSubview(row);
    row->addSubview(stepper);
    NSLayoutConstraint::activateConstraints({
        stepper->leftAnchor()->constraintEqualToAnchor(row->leftAnchor(), 10),
        stepper->centerYAnchor()->constraintEqualToAnchor(row->centerYAnchor()),
    });
    window->layoutIfNeeded();
    EXPECT_EQ(stepper->frame(), CGRectMake(10, 6.5, 94, 32));
    // Pressed through the window where layout put it.
    press(window, stepper, UIStepper::Button::Increment);
    EXPECT_EQ(stepper->value(), 1);
}

TEST(Stepper, RefusesBoundsAndStepsItCannotTake) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* what;
        std::function<void(UIStepper&)> apply;
    };
    const Case cases[] = {
        {"minimum equal to the maximum", [](UIStepper& s) { s.setMinimumValue(100); }},
        {"minimum above the maximum", [](UIStepper& s) { s.setMinimumValue(150); }},
        {"maximum equal to the minimum", [](UIStepper& s) { s.setMaximumValue(0); }},
        {"maximum below the minimum", [](UIStepper& s) { s.setMaximumValue(-1); }},
        {"NaN minimum", [nan](UIStepper& s) { s.setMinimumValue(nan); }},
        {"NaN maximum", [nan](UIStepper& s) { s.setMaximumValue(nan); }},
        {"zero step", [](UIStepper& s) { s.setStepValue(0); }},
        {"negative step", [](UIStepper& s) { s.setStepValue(-1); }},
        {"NaN step", [nan](UIStepper& s) { s.setStepValue(nan); }},
    };
    for (const Case& c : cases) {
        Ref<UIStepper> stepper = alloc<UIStepper>()->init();
        stepper->setValue(40);
        try {
            c.apply(*stepper);
            ADD_FAILURE() << c.what << " was taken";
        } catch (const NSException& exception) {
            EXPECT_EQ(exception.name(), NSInvalidArgumentException) << c.what;
        }
        // Nothing changed.
        EXPECT_EQ(stepper->minimumValue(), 0) << c.what;
        EXPECT_EQ(stepper->maximumValue(), 100) << c.what;
        EXPECT_EQ(stepper->stepValue(), 1) << c.what;
        EXPECT_EQ(stepper->value(), 40) << c.what;
    }
}

TEST(Stepper, BoundsHoldTheValue) {
    Ref<UIStepper> stepper = alloc<UIStepper>()->init();
    stepper->setValue(150);
    EXPECT_EQ(stepper->value(), 100);
    stepper->setMaximumValue(10);
    EXPECT_EQ(stepper->value(), 10);
    stepper->setMinimumValue(-5.5);
    stepper->setValue(-20);
    EXPECT_EQ(stepper->value(), -5.5);
    stepper->setValue(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(stepper->value(), -5.5);
    stepper->setValue(3);
    stepper->setMinimumValue(4);
    EXPECT_EQ(stepper->value(), 4);
}

TEST(Stepper, ButtonsStepWrapOrStopAtTheBounds) {
    struct Case {
        double minimum, maximum, value, step;
        bool wraps;
        Button button;
        double expected;
    };
    const Case cases[] = {
        {0, 10, 10, 1, true, Button::Increment, 0},
        {0, 10, 0, 1, true, Button::Decrement, 10},
        {0, 10, 9.5, 1, true, Button::Increment, 0},
        {0, 10, 2.5, 1, true, Button::Increment, 3.5},
        {0, 10, 2.5, 1, true, Button::Decrement, 1.5},
        {0, 10, 9.5, 1, false, Button::Increment, 10},
        {0, 10, 0.5, 1, false, Button::Decrement, 0},
        {-1, 1, 0, 0.25, false, Button::Increment, 0.25},
    };
    for (const Case& c : cases) {
        StepperScreen screen;
        screen.stepper->setMaximumValue(c.maximum);
        screen.stepper->setMinimumValue(c.minimum);
        screen.stepper->setStepValue(c.step);
        screen.stepper->setWraps(c.wraps);
        screen.stepper->setValue(c.value);
        press(screen.window, screen.stepper, c.button);
        EXPECT_EQ(screen.stepper->value(), c.expected) << c.value;
        EXPECT_EQ(screen.listener->values, (std::vector<double>{c.expected})) << c.value;
        EXPECT_FALSE(screen.stepper->pressedButton().has_value());
    }
}

TEST(Stepper, WithoutWrappingTheButtonAtItsBoundLooksDisabledAndDoesNothing) {
    StepperScreen screen;
    screen.stepper->setMaximumValue(2);
    EXPECT_FALSE(screen.stepper->isButtonEnabled(Button::Decrement));
    EXPECT_TRUE(screen.stepper->isButtonEnabled(Button::Increment));
    press(screen.window, screen.stepper, Button::Decrement);
    EXPECT_TRUE(screen.listener->values.empty());
    press(screen.window, screen.stepper, Button::Increment, 5);
    EXPECT_EQ(screen.listener->values, (std::vector<double>{1, 2}));
    EXPECT_FALSE(screen.stepper->isButtonEnabled(Button::Increment));
    EXPECT_TRUE(screen.stepper->isButtonEnabled(Button::Decrement));

    screen.stepper->setWraps(true);
    EXPECT_TRUE(screen.stepper->isButtonEnabled(Button::Increment));
    screen.stepper->setEnabled(false);
    EXPECT_FALSE(screen.stepper->isButtonEnabled(Button::Increment));
    EXPECT_FALSE(screen.stepper->isButtonEnabled(Button::Decrement));
}

TEST(Stepper, HoldingRepeatsTheStep) {
    struct Case {
        bool autorepeat, continuous;
        std::vector<double> heard;
    };
    const Case cases[] = {
        {true, true, {1, 2, 3, 4}},
        {false, true, {1}},
        // Not continuous: one report when the finger lifts.
        {true, false, {4}},
    };
    for (const Case& c : cases) {
        StepperScreen screen;
        screen.stepper->setAutorepeat(c.autorepeat);
        screen.stepper->setContinuous(c.continuous);
        press(screen.window, screen.stepper, Button::Increment, 3);
        EXPECT_EQ(screen.listener->values, c.heard);
    }
}

TEST(Stepper, TheHalvesSplitItsBounds) {
    StepperScreen screen;
    screen.stepper->setFrame(CGRectMake(100, 200, 150, 32));
    EXPECT_EQ(screen.stepper->rectForButton(Button::Decrement), CGRectMake(0, 0, 75, 32));
    EXPECT_EQ(screen.stepper->rectForButton(Button::Increment), CGRectMake(75, 0, 75, 32));
    screen.stepper->setValue(5);
    screen.window->sendTouchBegan({170, 210});
    EXPECT_EQ(screen.stepper->pressedButton(), Button::Decrement);
    // Sliding off the button lets it go; the step already taken stays.
    screen.window->sendTouchMoved({200, 210});
    EXPECT_FALSE(screen.stepper->pressedButton().has_value());
    screen.window->sendTouchEnded({200, 210});
    Finger(screen.window).tapInWindow({240, 230});
    EXPECT_EQ(screen.listener->values, (std::vector<double>{4, 5}));
    EXPECT_THROW(press(screen.window, alloc<UIStepper>()->init(), Button::Increment), HostError);
}

} // namespace
