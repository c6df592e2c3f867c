#include <gtest/gtest.h>

#include <Foundation/SDKEventLog.h>
#include <UIKit/SDKColorPickerSurface.h>
#include <UIKit/UIKit.h>

#include "automation/ColorPickerProcess.h"
#include "automation/Finger.h"
#include "automation/ViewFinder.h"

namespace {

class PickerListener : public NSObject, public UIColorPickerViewControllerDelegate {
public:
    void colorPickerViewControllerDidSelectColor(
        const Ref<UIColorPickerViewController>& picker) override {
        heard.push_back(picker->selectedColor());
    }
    void colorPickerViewControllerDidFinish(const Ref<UIColorPickerViewController>&) override {
        ++finished;
    }
    std::vector<Ref<UIColor>> heard;
    int finished = 0;
};

// A colour picker presented on a page in a window, heard by a listener.
struct PresentedPicker {
    Ref<UIWindow> window = alloc<UIWindow>()->initWithFrame(UIScreen::mainScreen()->bounds());
    Ref<UIViewController> page = alloc<UIViewController>()->init();
    Ref<UIColorPickerViewController> picker = alloc<UIColorPickerViewController>()->init();
    Ref<PickerListener> listener = alloc<PickerListener>();
    PresentedPicker() {
        window->setRootViewController(page);
        picker->setDelegate(listener);
        page->presentViewController(picker, true, nullptr);
    }
};

TEST(Presentation, PresentsOneScreenAtATimeAndDismissesTopFirst) {
    SDKEventLog::clear();
    Ref<UIViewController> page = alloc<UIViewController>()->init();
    Ref<UIViewController> sheet = alloc<UIViewController>()->init();
    Ref<UIViewController> other = alloc<UIViewController>()->init();
    sheet->setTitle("Sheet");
    bool completed = false;
    page->presentViewController(sheet, true, [&] { completed = true; });
    EXPECT_TRUE(completed);
    EXPECT_EQ(page->presentedViewController(), sheet);
    EXPECT_EQ(sheet->presentingViewController(), page);

    // A second presentation on the same controller is refused and logged.
    page->presentViewController(other, true, nullptr);
    EXPECT_EQ(page->presentedViewController(), sheet);
    ASSERT_EQ(SDKEventLog::records<SDKEvents::Error>().size(), 1u);

    // The top screen, presenting nothing, asks its presenter to dismiss it.
    sheet->presentViewController(other, false, nullptr);
    other->dismissViewControllerAnimated(true, nullptr);
    EXPECT_EQ(sheet->presentedViewController(), nullptr);
    EXPECT_EQ(page->presentedViewController(), sheet);

    // Dismissing from lower down takes every screen above it away.
    sheet->presentViewController(other, false, nullptr);
    page->dismissViewControllerAnimated(true, nullptr);
    EXPECT_EQ(page->presentedViewController(), nullptr);
    EXPECT_EQ(other->presentingViewController(), nullptr);

    auto presents = SDKEventLog::records<SDKEvents::Present>();
    ASSERT_EQ(presents.size(), 3u);
    EXPECT_EQ(presents[0].title, "Sheet");
    EXPECT_EQ(presents[0].className, "UIViewController");
    EXPECT_EQ(SDKEventLog::records<SDKEvents::Dismiss>().size(), 3u);
}

TEST(Presentation, ColorPickerHearsPicksFromItsProcessAndClosesWithItsButton) {
    PresentedPicker shown;
    auto& [window, page, picker, listener] = shown;

    ColorPickerProcess::reportPick(picker, UIColor::colorWithRed(1, 0, 0, 0.5));
    picker->setSupportsAlpha(false);
    ColorPickerProcess::reportPick(picker, UIColor::colorWithRed(0, 1, 0, 0.5));
    ASSERT_EQ(listener->heard.size(), 2u);
    EXPECT_EQ(listener->heard[0]->alpha(), 0.5);
    // Without the opacity control every pick is opaque.
    EXPECT_EQ(listener->heard[1]->alpha(), 1.0);
    // Setting the colour in code tells the delegate nothing.
    picker->setSelectedColor(UIColor::blackColor());
    EXPECT_EQ(listener->heard.size(), 2u);

    Finger(window).tap(ViewFinder::closeButton(picker->view()));
    EXPECT_EQ(listener->finished, 1);
    EXPECT_EQ(page->presentedViewController(), nullptr);
    EXPECT_EQ(picker->view()->window(), nullptr);

    // The delegate is held weakly.
    Weak<PickerListener> weak = listener;
    listener.reset();
    EXPECT_EQ(weak.lock(), nullptr);
    ColorPickerProcess::reportPick(picker, UIColor::blackColor());
}

TEST(Presentation, ColorPickerContentPicksWhatLiesUnderTheFinger) {
    PresentedPicker shown;
    auto& [window, page, picker, listener] = shown;
    window->layoutIfNeeded();
    Ref<UISegmentedControl> ways;
    std::vector<Ref<SDKColorPickerSurface>> surfaces;
    std::vector<Ref<UISlider>> sliders;
    for (const Ref<UIView>& view : ViewFinder::allViews(picker->view())) {
        if (auto control = objc_cast<UISegmentedControl>(view)) {
            ways = control;
        } else if (auto surface = objc_cast<SDKColorPickerSurface>(view)) {
            surfaces.push_back(surface);
        } else if (auto slider = objc_cast<UISlider>(view)) {
            sliders.push_back(slider);
        }
    }
    ASSERT_TRUE(ways && surfaces.size() == 3 && sliders.size() == 3);
    const Ref<SDKColorPickerSurface> grid = surfaces[0], spectrum = surfaces[1],
                                     opacity = surfaces[2];
    const CGSize area = grid->bounds().size, track = opacity->bounds().size;
    auto opaque = [](CGColor color) { return color.alpha = 0.4, color; };
    const CGColor start{0.2, 0.4, 0.6, 0.4};
    struct Case {
        const char* name;
        long way;
        std::function<void(Finger&)> touch;
        CGColor expected;
    };
    const Case cases[] = {
        {"a square of the grid", 0,
         [&](Finger& finger) {
             finger.tapAt(grid, {area.width * 4.5 / 12, area.height * 5.5 / 10});
         },
         opaque(UIColorPickerViewController::gridColor(4, 5))},
        {"a drag over the grid, where it lifts", 0,
         [&](Finger& finger) {
             finger.drag(grid, {1, 1}, {area.width + 30, area.height - 1});
         },
         opaque(UIColorPickerViewController::gridColor(11, 9))},
        {"the spectrum", 1,
         [&](Finger& finger) {
             finger.tapAt(spectrum, {area.width / 4, area.height * 3 / 4});
         },
         opaque(UIColorPickerViewController::spectrumColor(0.25, 0.75))},
        {"the red slider dragged to its end",
         2,
         [&](Finger& finger) {
             const CGRect bounds = sliders[0]->bounds();
             const CGRect thumb = sliders[0]->thumbRectForBounds(
                 bounds, sliders[0]->trackRectForBounds(bounds), sliders[0]->value());
             const CGPoint from{CGRectGetMidX(thumb), CGRectGetMidY(thumb)};
             finger.drag(sliders[0], from, {bounds.size.width + 40, from.y});
         },
         {1, 0.4, 0.6, 0.4}},
        {"the opacity track's far end",
         0,
         [&](Finger& finger) {
             finger.tapAt(opacity, {track.width - 1, track.height / 2});
         },
         {0.2, 0.4, 0.6, 1}},
        {"the opacity track's near end",
         2,
         [&](Finger& finger) {
             finger.tapAt(opacity, {1, track.height / 2});
         },
         {0.2, 0.4, 0.6, 0}},
    };
    Finger finger(window);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        picker->setSelectedColor(
            UIColor::colorWithRed(start.red, start.green, start.blue, start.alpha));
        const CGRect segment = ways->rectForSegmentAtIndex(static_cast<size_t>(c.way));
        finger.tapAt(ways, {CGRectGetMidX(segment), CGRectGetMidY(segment)});
        window->layoutIfNeeded();
        const size_t heard = listener->heard.size();
        c.touch(finger);
        ASSERT_GT(listener->heard.size(), heard);
        const CGColor got = *listener->heard.back()->CGColor();
        // The picker hands over whole 8-bit components.
        auto whole = [](CGFloat component) { return std::round(component * 255) / 255; };
        EXPECT_NEAR(got.red, whole(c.expected.red), 1e-9);
        EXPECT_NEAR(got.green, whole(c.expected.green), 1e-9);
        EXPECT_NEAR(got.blue, whole(c.expected.blue), 1e-9);
        EXPECT_NEAR(got.alpha, whole(c.expected.alpha), 1e-9);
        EXPECT_EQ(picker->selectedColor(), listener->heard.back());
    }
    // Without opacity on offer the track is gone and every pick is opaque.
    picker->setSupportsAlpha(false);
    finger.tapAt(ways, {1, 1});
    window->layoutIfNeeded();
    EXPECT_TRUE(opacity->isHidden());
    finger.tapAt(grid, {1, 1});
    EXPECT_EQ(listener->heard.back()->alpha(), 1.0);
}

TEST(Presentation, PresentedScreensAreViewsInTheWindowLaidOutByTheirStyle) {
    Ref<UIWindow> window = alloc<UIWindow>()->initWithFrame(UIScreen::mainScreen()->bounds());
    Ref<UIViewController> page = alloc<UIViewController>()->init();
    window->setRootViewController(page);
    // The page is taller than the screen, as a long settings page is.
    const CGRect screen = UIScreen::mainScreen()->bounds();
    window->setFrame(CGRectMake(0, 0, screen.size.width, screen.size.height * 2));
    struct Case {
        UIModalPresentationStyle style;
        CGRect frame;
    };
    const CGFloat sheetTop = UIWindow::kSheetTop;
    const Case cases[] = {
        {UIModalPresentationAutomatic,
         CGRectMake(0, sheetTop, screen.size.width, screen.size.height - sheetTop)},
        {UIModalPresentationPageSheet,
         CGRectMake(0, sheetTop, screen.size.width, screen.size.height - sheetTop)},
        {UIModalPresentationOverFullScreen, screen},
        {UIModalPresentationFullScreen, screen},
    };
    for (const Case& c : cases) {
        Ref<UIViewController> presented = alloc<UIViewController>()->init();
        presented->setModalPresentationStyle(c.style);
        page->presentViewController(presented, false, nullptr);
        window->layoutIfNeeded();
        Ref<UIView> view = presented->view();
        ASSERT_EQ(view->window(), window) << c.style;
        EXPECT_EQ(view->convertRectToView(view->bounds(), nullptr), c.frame) << c.style;
        // Anywhere on the window, even below the screen, the touch stays with the presented screen.
        for (CGPoint point : {CGPointMake(10, 10), CGPointMake(10, screen.size.height * 1.5)}) {
            Ref<UIView> hit = window->hitTest(point);
            ASSERT_NE(hit, nullptr);
            EXPECT_FALSE(hit->isDescendantOfView(page->view().get())) << c.style;
            EXPECT_NE(hit, page->view()) << c.style;
        }
        page->dismissViewControllerAnimated(false, nullptr);
        EXPECT_EQ(view->window(), nullptr) << c.style;
        EXPECT_EQ(window->subviews().size(), 1u) << c.style;
    }
}

TEST(Presentation, TransitionsRunTheirAnimationsAndAreRecorded) {
    SDKEventLog::clear();
    Ref<UILabel> label = alloc<UILabel>()->init();
    bool done = false;
    UIView::transitionWithView(
        label, 0.2, UIViewAnimationOptionTransitionCrossDissolve, [&] { label->setText("after"); },
        [&](bool finished) { done = finished; });
    EXPECT_EQ(label->text(), "after");
    EXPECT_TRUE(done);
    auto transitions = SDKEventLog::records<SDKEvents::Transition>();
    ASSERT_EQ(transitions.size(), 1u);
    EXPECT_EQ(transitions[0].viewClassName, "UILabel");
    EXPECT_EQ(transitions[0].duration, 0.2);
    EXPECT_EQ(transitions[0].options, static_cast<long>(5 << 20));
}

} // namespace
