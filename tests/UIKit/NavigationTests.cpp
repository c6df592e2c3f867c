#include <gtest/gtest.h>

#include <Foundation/SDKEventLog.h>
#include <UIKit/UIKit.h>

#include "automation/Finger.h"
#include "automation/ViewFinder.h"

namespace {

// Hears the bar button item's action.
class Listener : public NSObject {
public:
    void tapped(const Ref<UIBarButtonItem>& item) { heard.push_back(item); }
    std::vector<Ref<UIBarButtonItem>> heard;
};

Ref<UIViewController> page(const std::string& title) {
    Ref<UIViewController> controller = alloc<UIViewController>()->init();
    controller->setTitle(title);
    return controller;
}

// A navigation controller at the root of a window the size of the screen.
struct NavigationScreen {
    explicit NavigationScreen(const Ref<UIViewController>& root) {
        navigation = alloc<UINavigationController>()->initWithRootViewController(root);
        window = alloc<UIWindow>()->initWithFrame(UIScreen::mainScreen()->bounds());
        window->setRootViewController(navigation);
        window->layoutIfNeeded();
    }
    Ref<UINavigationBar> bar() const { return navigation->navigationBar(); }
    // The button the bar shows for an item, found where a person sees it.
    Ref<UIView> button(ViewFinder::BarItem item) const {
        return ViewFinder::barButton(bar(), item);
    }
    Ref<UIButton> back() const { return objc_cast<UIButton>(button(ViewFinder::BarItem::Back)); }
    Ref<UIWindow> window;
    Ref<UINavigationController> navigation;
};

TEST(Navigation, PushedPagesShowUnderTheBarWithABackButtonToThePageBelow) {
    SDKEventLog::clear();
    Ref<UIViewController> settings = page("Settings");
    NavigationScreen screen(settings);
    EXPECT_EQ(screen.bar()->titleLabel()->text(), "Settings");
    EXPECT_EQ(screen.back(), nullptr);

    Ref<UIViewController> tweak = page("Tweak");
    Ref<UIViewController> child = page("Child");
    struct Step {
        Ref<UIViewController> pushed;
        const char* title;
        const char* back;
    };
    const Step steps[] = {{tweak, "Tweak", "Settings"}, {child, "Child", "Tweak"}};
    for (const Step& step : steps) {
        screen.navigation->pushViewController(step.pushed, true);
        screen.window->layoutIfNeeded();
        EXPECT_EQ(screen.navigation->topViewController(), step.pushed);
        EXPECT_EQ(step.pushed->navigationController(), screen.navigation);
        EXPECT_EQ(screen.bar()->titleLabel()->text(), step.title);
        ASSERT_NE(screen.back(), nullptr);
        EXPECT_EQ(screen.back()->currentTitle(), step.back);
        // The page fills the window below the bar.
        const CGRect screenBounds = UIScreen::mainScreen()->bounds();
        EXPECT_EQ(step.pushed->view()->frame(),
                  CGRectMake(0, UINavigationBar::kHeight, screenBounds.size.width,
                             screenBounds.size.height - UINavigationBar::kHeight));
        EXPECT_EQ(step.pushed->view()->window(), screen.window);
    }
    // The page below is off screen while another is on top.
    EXPECT_EQ(tweak->view()->window(), nullptr);

    // The back button, touched through the window, pops the top page.
    Finger(screen.window).tap(screen.back());
    EXPECT_EQ(screen.navigation->topViewController(), tweak);
    EXPECT_EQ(child->parentViewController(), nullptr);
    EXPECT_EQ(child->view()->window(), nullptr);
    EXPECT_EQ(screen.bar()->titleLabel()->text(), "Tweak");
    EXPECT_EQ(screen.back()->currentTitle(), "Settings");

    // The root stays.
    EXPECT_EQ(screen.navigation->popToRootViewControllerAnimated(false).size(), 1u);
    EXPECT_EQ(screen.navigation->popViewControllerAnimated(false), nullptr);
    EXPECT_EQ(screen.navigation->viewControllers().size(), 1u);
    EXPECT_EQ(SDKEventLog::records<SDKEvents::Push>().size(), 2u);
    auto pops = SDKEventLog::records<SDKEvents::Pop>();
    ASSERT_EQ(pops.size(), 2u);
    EXPECT_EQ(pops[0].title, "Child");
}

TEST(Navigation, BarButtonItemsAreButtonsInTheBarThatSendTheirAction) {
    Ref<UIViewController> root = page("Settings");
    Ref<UIViewController> tweak = page("Tweak");
    NavigationScreen screen(root);
    screen.navigation->pushViewController(tweak, false);
    auto listener = alloc<Listener>();
    Ref<UIBarButtonItem> respring = alloc<UIBarButtonItem>()->initWithTitle(
        std::string("Apply"), UIBarButtonItemStyleDone, listener, &Listener::tapped);
    tweak->navigationItem()->setRightBarButtonItem(respring);
    screen.window->layoutIfNeeded();

    Ref<UIView> button = screen.button(ViewFinder::BarItem::Right);
    ASSERT_NE(button, nullptr);
    const CGRect frame = button->convertRectToView(button->bounds(), nullptr);
    EXPECT_EQ(CGRectGetMaxX(frame), screen.window->bounds().size.width - UINavigationBar::kMargin);
    EXPECT_EQ(frame.origin.y, 0);
    Finger(screen.window).tap(button);
    ASSERT_EQ(listener->heard.size(), 1u);
    EXPECT_EQ(listener->heard[0], respring);

    // A disabled item's button takes the touch and sends nothing.
    respring->setEnabled(false);
    tweak->navigationItem()->setRightBarButtonItem(respring);
    Finger(screen.window).tap(screen.button(ViewFinder::BarItem::Right));
    EXPECT_EQ(listener->heard.size(), 1u);

    // A left item takes the back button's place; a custom view is shown as it is.
    Ref<UIView> custom = alloc<UIView>()->initWithFrame(CGRectMake(0, 0, 30, 30));
    tweak->navigationItem()->setLeftBarButtonItem(
        alloc<UIBarButtonItem>()->initWithCustomView(custom));
    EXPECT_EQ(screen.back(), nullptr);
    EXPECT_EQ(screen.button(ViewFinder::BarItem::Left), custom);
    tweak->navigationItem()->setLeftBarButtonItem(nullptr);
    tweak->navigationItem()->setHidesBackButton(true);
    EXPECT_EQ(screen.back(), nullptr);
}

TEST(Navigation, APageInsideTheNavigationControllerPresentsThroughIt) {
    Ref<UIViewController> root = page("Settings");
    Ref<UIViewController> tweak = page("Tweak");
    NavigationScreen screen(root);
    screen.navigation->pushViewController(tweak, false);
    Ref<UIViewController> sheet = page("Sheet");
    tweak->presentViewController(sheet, true, nullptr);
    EXPECT_EQ(sheet->presentingViewController(), screen.navigation);
    EXPECT_EQ(tweak->presentedViewController(), sheet);
    EXPECT_EQ(screen.window->topViewController(), sheet);
    EXPECT_EQ(sheet->view()->window(), screen.window);
    tweak->dismissViewControllerAnimated(false, nullptr);
    EXPECT_EQ(screen.navigation->presentedViewController(), nullptr);
    EXPECT_EQ(sheet->view()->window(), nullptr);
}

} // namespace
