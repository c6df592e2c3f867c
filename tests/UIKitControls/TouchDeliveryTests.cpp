#include <gtest/gtest.h>

#include <UIKit/UIKit.h>

#include "ControlRecorder.h"
#include "automation/Finger.h"

namespace {

using Events = std::vector<UIControlEvents>;

// A window holding a panel at (10, 100) with a control at (20, 20) in it, and
// a tap recogniser on the panel.
struct Screen {
    Screen() {
        window = alloc<UIWindow>()->initWithFrame(UIScreen::mainScreen()->bounds());
        panel = alloc<UIView>()->initWithFrame(CGRectMake(10, 100, 200, 100));
        control = alloc<UIControl>()->initWithFrame(CGRectMake(20, 20, 50, 50));
        window->addSubview(panel);
        panel->addSubview(control);
        recorder = alloc<ControlRecorder>();
        recorder->listenForTouches(control);
        tap = alloc<UITapGestureRecognizer>()->initWithTarget(recorder,
                                                              &ControlRecorder::gestureRecognized);
        panel->addGestureRecognizer(tap);
    }
    Ref<UIWindow> window;
    Ref<UIView> panel;
    Ref<UIControl> control;
    Ref<ControlRecorder> recorder;
    Ref<UITapGestureRecognizer> tap;
};

TEST(TouchDelivery, AncestorsRecogniserTakesTheTapAndCancelsTheTouchInTheView) {
    Screen screen;
    EXPECT_EQ(Finger(screen.window).tapInWindow({45, 145}), screen.control);
    ASSERT_EQ(screen.recorder->recognized.size(), 1u);
    EXPECT_EQ(screen.recorder->recognized[0], screen.tap);
    EXPECT_EQ(screen.recorder->locations[0], CGPointMake(35, 45));
    EXPECT_EQ(screen.recorder->events,
              (Events{UIControlEventTouchDown, UIControlEventTouchCancel}));
    EXPECT_FALSE(screen.control->isHighlighted());
    // Ready for the next tap.
    EXPECT_EQ(screen.tap->state(), UIGestureRecognizerStatePossible);
    Finger(screen.window).tapInWindow({15, 105});
    EXPECT_EQ(screen.recorder->recognized.size(), 2u);
}

TEST(TouchDelivery, TapFailsWhenTheFingerTravels) {
    struct Case {
        CGPoint moveTo;
        CGPoint liftAt;
        bool cancelsTouches;
        size_t taps;
        Events events;
    };
    const Case cases[] = {
        // A wobble of a few points is still a tap; the wobble reached the view
        // before the tap was recognised.
        {{50, 149},
         {51, 150},
         true,
         1,
         {UIControlEventTouchDown, UIControlEventTouchDragInside, UIControlEventTouchCancel}},
        // Further than ten points and back again: the tap has failed for good.
        {{45, 156},
         {45, 145},
         true,
         0,
         {UIControlEventTouchDown, UIControlEventTouchDragInside, UIControlEventTouchUpInside}},
        // A recogniser that leaves the view its touches.
        {{46, 145},
         {46, 145},
         false,
         1,
         {UIControlEventTouchDown, UIControlEventTouchDragInside, UIControlEventTouchUpInside}},
    };
    for (const Case& c : cases) {
        Screen screen;
        screen.tap->setCancelsTouchesInView(c.cancelsTouches);
        ASSERT_NE(screen.window->sendTouchBegan({45, 145}), nullptr);
        screen.window->sendTouchMoved(c.moveTo);
        screen.window->sendTouchEnded(c.liftAt);
        EXPECT_EQ(screen.recorder->recognized.size(), c.taps);
        EXPECT_EQ(screen.recorder->events, c.events);
    }
}

TEST(TouchDelivery, ControlTracksTheFingerInAndOutOfItsReach) {
    Screen screen;
    screen.panel->removeGestureRecognizer(screen.tap);
    Ref<UIWindow> window = screen.window;
    // The control spans x 30..80 and y 120..170 in the window.
    Ref<UITouch> touch = window->sendTouchBegan({55, 145});
    ASSERT_NE(touch, nullptr);
    EXPECT_EQ(touch->view(), screen.control);
    EXPECT_TRUE(screen.control->isTracking());
    EXPECT_TRUE(screen.control->isHighlighted());
    window->sendTouchMoved({140, 145}); // 60 points beyond its right edge: still inside
    EXPECT_TRUE(screen.control->isTouchInside());
    window->sendTouchMoved({160, 145}); // 80 beyond: outside
    EXPECT_FALSE(screen.control->isTouchInside());
    EXPECT_FALSE(screen.control->isHighlighted());
    window->sendTouchMoved({60, 150});
    window->sendTouchMoved({60, 260}); // 90 below
    window->sendTouchEnded({60, 260});
    EXPECT_EQ(touch->phase(), UITouchPhaseEnded);
    EXPECT_EQ(touch->locationInView(screen.control), CGPointMake(30, 140));
    EXPECT_EQ(touch->previousLocationInView(nullptr), CGPointMake(60, 260));
    EXPECT_EQ(screen.recorder->events,
              (Events{UIControlEventTouchDown, UIControlEventTouchDragInside,
                      UIControlEventTouchDragOutside, UIControlEventTouchDragExit,
                      UIControlEventTouchDragInside, UIControlEventTouchDragEnter,
                      UIControlEventTouchDragOutside, UIControlEventTouchDragExit,
                      UIControlEventTouchUpOutside}));
    EXPECT_FALSE(screen.control->isTracking());
    for (const Ref<UIControl>& sender : screen.recorder->senders) {
        EXPECT_EQ(sender, screen.control);
    }
}

TEST(TouchDelivery, DisabledPartsHearNothing) {
    Screen screen;
    screen.control->setEnabled(false);
    screen.tap->setEnabled(false);
    // The disabled control is still what the finger lands on.
    EXPECT_EQ(Finger(screen.window).tapInWindow({45, 145}), screen.control);
    EXPECT_TRUE(screen.recorder->events.empty());
    EXPECT_TRUE(screen.recorder->recognized.empty());
    // Off the screen there is nothing to land on, and nothing to move or lift.
    EXPECT_EQ(screen.window->sendTouchBegan({500, 900}), nullptr);
    screen.window->sendTouchMoved({45, 145});
    screen.window->sendTouchEnded({45, 145});
    EXPECT_TRUE(screen.recorder->events.empty());
}

TEST(TouchDelivery, APresentedScreenCoversThePage) {
    Screen screen;
    Ref<UIViewController> page = alloc<UIViewController>()->init();
    screen.window->setRootViewController(page);
    page->view()->addSubview(screen.panel);
    Ref<UIViewController> sheet = alloc<UIViewController>()->init();
    page->presentViewController(sheet, true, nullptr);
    EXPECT_EQ(Finger(screen.window).tapInWindow({45, 145}), sheet->view());
    EXPECT_TRUE(screen.recorder->recognized.empty());
    EXPECT_TRUE(screen.recorder->events.empty());
    sheet->dismissViewControllerAnimated(true, nullptr);
    EXPECT_EQ(Finger(screen.window).tapInWindow({45, 145}), screen.control);
    EXPECT_EQ(screen.recorder->recognized.size(), 1u);
}

// Places its only subview when laid out.
class Shelf : public UIView {
public:
    void layoutSubviews() override { subviews().at(0)->setFrame(CGRectMake(100, 0, 40, 40)); }
};

TEST(TouchDelivery, LayoutIsBroughtUpToDateBeforeTheFingerLands) {
    Ref<UIWindow> window = alloc<UIWindow>()->initWithFrame(UIScreen::mainScreen()->bounds());
    Ref<UIView> shelf = alloc<Shelf>()->initWithFrame(CGRectMake(0, 0, 390, 40));
    Ref<UIView> box = alloc<UIView>()->init();
    shelf->addSubview(box);
    window->addSubview(shelf);
    EXPECT_EQ(Finger(window).tapInWindow({120, 20}), box);
}

} // namespace
