#include <gtest/gtest.h>

#include <limits>

#include <UIKit/UIKit.h>

#include "HostError.h"
#include "automation/Gestures.h"

namespace {

// Hears the slider's value changes and the value each one reported.
class SliderListener : public NSObject {
public:
    void changed(const Ref<UISlider>& slider) { values.push_back(slider->value()); }
    std::vector<float> values;
};

// A slider 228 points wide at (20, 100) in a window: the thumb's centre
// travels 200 points, from x 34 to x 234.
struct SliderScreen {
    SliderScreen() {
        window = alloc<UIWindow>()->initWithFrame(UIScreen::mainScreen()->bounds());
        slider = alloc<UISlider>()->initWithFrame(CGRectMake(20, 100, 228, 31));
        window->addSubview(slider);
        listener = alloc<SliderListener>();
        slider->addTarget(listener, &SliderListener::changed, UIControlEventValueChanged);
    }
    Ref<UIWindow> window;
    Ref<UISlider> slider;
    Ref<SliderListener> listener;
};

// A finger on the thumb, dragged through the window to where `value` lies.
void drag(const SliderScreen& screen, float value, size_t movements) {
    Finger finger(screen.window);
    Gestures::dragSlider(finger, screen.slider, value, movements);
}

TEST(Slider, BoundsPushEachOtherAndHoldTheValue) {
    struct Case {
        const char* what;
        void (*apply)(UISlider&);
        float minimum, maximum, value;
    };
    const Case cases[] = {
        {"defaults", [](UISlider&) {}, 0, 1, 0},
        {"minimum above the maximum", [](UISlider& s) { s.setMinimumValue(5); }, 5, 5, 5},
        {"maximum below the minimum", [](UISlider& s) { s.setMaximumValue(-2); }, -2, -2, -2},
        {"value above", [](UISlider& s) { s.setValue(3); }, 0, 1, 1},
        {"value below", [](UISlider& s) { s.setValue(-1); }, 0, 1, 0},
        {"maximum under the value",
         [](UISlider& s) {
             s.setMaximumValue(10);
             s.setValue(8);
             s.setMaximumValue(4);
         },
         0, 4, 4},
        {"NaN value",
         [](UISlider& s) {
             s.setValue(0.5f);
             s.setValue(std::numeric_limits<float>::quiet_NaN());
         },
         0, 1, 0},
        {"NaN bounds",
         [](UISlider& s) {
             s.setMinimumValue(std::numeric_limits<float>::quiet_NaN());
             s.setMaximumValue(std::numeric_limits<float>::quiet_NaN());
         },
         0, 1, 0},
    };
    for (const Case& c : cases) {
        SliderScreen screen;
        c.apply(*screen.slider);
        EXPECT_EQ(screen.slider->minimumValue(), c.minimum) << c.what;
        EXPECT_EQ(screen.slider->maximumValue(), c.maximum) << c.what;
        EXPECT_EQ(screen.slider->value(), c.value) << c.what;
        // Nothing set in code is reported.
        EXPECT_TRUE(screen.listener->values.empty()) << c.what;
    }
}

TEST(Slider, ThumbTravelsTheTrackInsetByItsRadius) {
    SliderScreen screen;
    const CGRect bounds = screen.slider->bounds();
    const CGRect track = screen.slider->trackRectForBounds(bounds);
    EXPECT_EQ(track, CGRectMake(0, 13.5, 228, 4));
    EXPECT_EQ(screen.slider->thumbRectForBounds(bounds, track, 0), CGRectMake(0, 1.5, 28, 28));
    EXPECT_EQ(screen.slider->thumbRectForBounds(bounds, track, 0.5f), CGRectMake(100, 1.5, 28, 28));
    EXPECT_EQ(screen.slider->thumbRectForBounds(bounds, track, 1), CGRectMake(200, 1.5, 28, 28));
    EXPECT_EQ(screen.slider->thumbRectForBounds(bounds, track, 7), CGRectMake(200, 1.5, 28, 28));
    EXPECT_EQ(screen.slider->sizeThatFits(CGSizeMake(10, 10)), CGSizeMake(228, 31));
    EXPECT_EQ(screen.slider->intrinsicContentSize(), CGSizeMake(UIViewNoIntrinsicMetric, 31));
}

TEST(Slider, TakesItsOwnHeightInLayout) {
    Ref<UIWindow> window = alloc<UIWindow>()->initWithFrame(UIScreen::mainScreen()->bounds());
    Ref<UIView> row = alloc<UIView>()->initWithFrame(CGRectMake(0, 100, 300, 45));
    Ref<UISlider> slider = alloc<UISlider>()->init();
    slider->setTranslatesAutoresizingMaskIntoConstraints(false);
    window->addSubview(row);
    row->addSubview(slider);
    NSLayoutConstraint::activateConstraints({
        slider->leftAnchor()->constraintEqualToAnchor(row->leftAnchor(), 10),
        slider->rightAnchor()->constraintEqualToAnchor(row->rightAnchor(), -10),
        slider->centerYAnchor()->constraintEqualToAnchor(row->centerYAnchor()),
    });
    window->layoutIfNeeded();
    EXPECT_EQ(slider->frame(), CGRectMake(10, 7, 280, 31));
}

TEST(Slider, DraggingReportsEveryMovement) {
    SliderScreen screen;
    drag(screen, 0.75f, 4);
    EXPECT_EQ(screen.listener->values, (std::vector<float>{0.1875f, 0.375f, 0.5625f, 0.75f}));
    EXPECT_EQ(screen.slider->value(), 0.75f);
    EXPECT_FALSE(screen.slider->isTracking());

    // Past the end the value stops at the maximum and no more is reported.
    screen.listener->values.clear();
    Ref<UITouch> touch = screen.window->sendTouchBegan({184, 115}); // the thumb's centre
    ASSERT_EQ(touch->view(), screen.slider);
    screen.window->sendTouchMoved({260, 115});
    screen.window->sendTouchMoved({300, 115});
    screen.window->sendTouchEnded({300, 115});
    EXPECT_EQ(screen.listener->values, (std::vector<float>{1.0f}));
}

TEST(Slider, TheThumbMovesWithTheFingerNotToIt) {
    SliderScreen screen;
    screen.slider->setMaximumValue(100);
    // Grabbed 6 points right of its centre (x 34): no jump, then 50 points along.
    screen.window->sendTouchBegan({40, 112});
    EXPECT_TRUE(screen.slider->isTracking());
    screen.window->sendTouchMoved({90, 120});
    screen.window->sendTouchEnded({90, 120});
    EXPECT_EQ(screen.listener->values, (std::vector<float>{25.0f}));

    // A touch on the track away from the thumb moves nothing.
    screen.listener->values.clear();
    screen.window->sendTouchBegan({200, 115});
    EXPECT_FALSE(screen.slider->isTracking());
    screen.window->sendTouchMoved({150, 115});
    screen.window->sendTouchEnded({150, 115});
    EXPECT_TRUE(screen.listener->values.empty());
    EXPECT_EQ(screen.slider->value(), 25.0f);
}

TEST(Slider, NotContinuousReportsOnceOnLift) {
    SliderScreen screen;
    screen.slider->setContinuous(false);
    drag(screen, 0.5f, 5);
    EXPECT_EQ(screen.listener->values, (std::vector<float>{0.5f}));
    // A drag that ends where it began reports nothing.
    drag(screen, 0.5f, 3);
    EXPECT_EQ(screen.listener->values.size(), 1u);
}

TEST(Slider, DragNeedsTheSliderOnScreenAndUncovered) {
    SliderScreen screen;
    Ref<UISlider> loose = alloc<UISlider>()->initWithFrame(CGRectMake(0, 0, 228, 31));
    Finger finger(screen.window);
    EXPECT_THROW(Gestures::dragSlider(finger, loose, 1), HostError);
    EXPECT_EQ(loose->value(), 0);

    Ref<UIView> cover = alloc<UIView>()->initWithFrame(CGRectMake(0, 90, 390, 60));
    screen.window->addSubview(cover);
    EXPECT_THROW(Gestures::dragSlider(finger, screen.slider, 1), HostError);
    EXPECT_EQ(screen.slider->value(), 0);
    EXPECT_TRUE(screen.listener->values.empty());
}

} // namespace
