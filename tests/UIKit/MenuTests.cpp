#include <gtest/gtest.h>

#include <UIKit/SDKMenuViewController.h>
#include <UIKit/UIKit.h>

#include "automation/Finger.h"
#include "automation/ViewFinder.h"

namespace {

// A button with a menu at the top right of a page in a window.
struct MenuScreen {
    MenuScreen() {
        window = alloc<UIWindow>()->initWithFrame(UIScreen::mainScreen()->bounds());
        page = alloc<UIViewController>()->init();
        window->setRootViewController(page);
        button = UIButton::buttonWithType(UIButtonTypeSystem);
        button->setImage(UIImage::systemImageNamed(std::string("gear.badge.checkmark")),
                         UIControlStateNormal);
        button->setFrame(CGRectMake(UIScreen::mainScreen()->bounds().size.width - 60, 10, 44, 44));
        page->view()->addSubview(button);
    }
    Ref<SDKMenuViewController> menu() const {
        return objc_cast<SDKMenuViewController>(page->presentedViewController());
    }
    Ref<UIAction> action(const std::string& title) {
        return UIAction::actionWithTitle(title, nullptr, std::nullopt,
                                         [this, title](const Ref<UIAction>& chosen) {
                                             // The menu has closed by the time it runs.
                                             EXPECT_EQ(page->presentedViewController(), nullptr);
                                             heard.push_back(chosen->title());
                                             EXPECT_EQ(chosen->title(), title);
                                         });
    }
    Ref<UIWindow> window;
    Ref<UIViewController> page;
    Ref<UIButton> button;
    std::vector<std::string> heard;
};

TEST(Menu, ATapOnItsButtonOpensItInTheWindowAndAChoiceRunsAfterItCloses) {
    MenuScreen screen;
    Ref<UIAction> hidden = screen.action("Hidden");
    hidden->setAttributes(UIMenuElementAttributesHidden);
    screen.button->setMenu(UIMenu::menuWithChildren(
        {screen.action("Respring"), hidden,
         UIMenu::menuWithTitle("More", nullptr, std::nullopt, UIMenuOptionsDisplayInline,
                               {screen.action("Safe mode"), screen.action("Reboot")})}));
    screen.button->setShowsMenuAsPrimaryAction(true);
    Finger finger(screen.window);
    finger.tap(screen.button);
    Ref<SDKMenuViewController> menu = screen.menu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->view()->window(), screen.window);
    std::vector<std::string> rows;
    for (const auto& [action, row] : menu->rows()) {
        rows.push_back(action->title());
    }
    EXPECT_EQ(rows, (std::vector<std::string>{"Respring", "Safe mode", "Reboot"}));
    // The panel opens below the button, its right edge lined up with the button's.
    // The panel is the one view on the menu's screen.
    ASSERT_EQ(menu->view()->subviews().size(), 1u);
    const Ref<UIView> panelView = menu->view()->subviews().front();
    const CGRect panel = panelView->convertRectToView(panelView->bounds(), nullptr);
    const CGRect source = screen.button->convertRectToView(screen.button->bounds(), nullptr);
    EXPECT_GT(panel.origin.y, CGRectGetMaxY(source));
    EXPECT_EQ(CGRectGetMaxX(panel), CGRectGetMaxX(source));

    finger.tap(ViewFinder::buttonTitled(menu->view(), "Reboot"));
    EXPECT_EQ(screen.heard, (std::vector<std::string>{"Reboot"}));
    EXPECT_EQ(menu->view()->window(), nullptr);
}

TEST(Menu, ATouchBesideTheMenuClosesItAndRunsNothing) {
    MenuScreen screen;
    screen.button->setMenu(UIMenu::menuWithChildren({screen.action("Respring")}));
    screen.button->setShowsMenuAsPrimaryAction(true);
    Finger finger(screen.window);
    finger.tap(screen.button);
    ASSERT_NE(screen.menu(), nullptr);
    // A touch on the panel between nothing closes nothing; one beside it does.
    finger.tapInWindow(CGPointMake(10, UIScreen::mainScreen()->bounds().size.height - 10));
    EXPECT_EQ(screen.menu(), nullptr);
    EXPECT_TRUE(screen.heard.empty());
}

TEST(Menu, AButtonWithoutItsMenuAsPrimaryActionSendsItsActions) {
    MenuScreen screen;
    screen.button->setMenu(UIMenu::menuWithChildren({screen.action("Respring")}));
    int touchUps = 0, primary = 0;
    screen.button->addAction(UIAction::actionWithTitle("up", nullptr, std::nullopt,
                                                       [&](const Ref<UIAction>&) { ++touchUps; }),
                             UIControlEventTouchUpInside);
    screen.button->addAction(UIAction::actionWithTitle("primary", nullptr, std::nullopt,
                                                       [&](const Ref<UIAction>&) { ++primary; }),
                             UIControlEventPrimaryActionTriggered);
    Finger(screen.window).tap(screen.button);
    EXPECT_EQ(touchUps, 1);
    EXPECT_EQ(primary, 1);
    EXPECT_EQ(screen.menu(), nullptr);
    // Disabled, it sends nothing.
    screen.button->setEnabled(false);
    Finger(screen.window).tap(screen.button);
    EXPECT_EQ(touchUps, 1);
}

TEST(Button, ShowsTheTitleAndImageForItsStateOrElseTheNormalOnes) {
    struct Case {
        UIControlState state;
        const char* title;
        bool image;
    };
    Ref<UIButton> button = UIButton::buttonWithType(UIButtonTypeSystem);
    button->setTitle(std::string("Normal"), UIControlStateNormal);
    button->setTitle(std::string("Off"), UIControlStateDisabled);
    button->setImage(UIImage::systemImageNamed(std::string("circle")), UIControlStateSelected);
    const Case cases[] = {
        {UIControlStateNormal, "Normal", false},
        {UIControlStateDisabled, "Off", false},
        {UIControlStateSelected, "Normal", true},
        {UIControlStateHighlighted, "Normal", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(button->titleForState(c.state), c.title) << c.state;
        EXPECT_EQ(button->imageForState(c.state) != nullptr, c.image) << c.state;
    }
    button->setEnabled(false);
    EXPECT_EQ(button->titleLabel()->text(), "Off");
    button->setEnabled(true);
    button->setSelected(true);
    EXPECT_NE(button->imageView()->image(), nullptr);
    // A system button's title is in its tint; a custom one's is white.
    button->setTintColor(UIColor::systemRedColor());
    EXPECT_TRUE(UIColorEqual(button->titleLabel()->textColor(), UIColor::systemRedColor()));
    EXPECT_TRUE(UIColorEqual(
        UIButton::buttonWithType(UIButtonTypeCustom)->titleColorForState(UIControlStateNormal),
        UIColor::whiteColor()));
}

TEST(Button, LaysOutImageThenTitleWithinItsInsets) {
    Ref<UIButton> button = UIButton::buttonWithType(UIButtonTypeSystem);
    button->setTitle(std::string("Go"), UIControlStateNormal);
    button->setImage(UIImage::systemImageNamed(std::string("circle")), UIControlStateNormal);
    const CGSize image = button->imageForState(UIControlStateNormal)->size();
    const CGFloat title = button->titleLabel()->intrinsicContentSize().width;
    button->setContentEdgeInsets(UIEdgeInsetsMake(0, 10, 0, 6));
    EXPECT_EQ(button->intrinsicContentSize().width,
              10 + image.width + UIButton::kImageTitleSpacing + title + 6);
    button->setFrame(CGRectMake(0, 0, 200, 44));
    struct Case {
        UIControlContentHorizontalAlignment alignment;
        CGFloat imageX;
    };
    const CGFloat used = image.width + UIButton::kImageTitleSpacing + title;
    const Case cases[] = {
        {UIControlContentHorizontalAlignmentLeft, 10},
        {UIControlContentHorizontalAlignmentCenter, 10 + (184 - used) / 2},
        {UIControlContentHorizontalAlignmentRight, 194 - used},
    };
    for (const Case& c : cases) {
        button->setContentHorizontalAlignment(c.alignment);
        button->layoutIfNeeded();
        EXPECT_DOUBLE_EQ(button->imageView()->frame().origin.x, c.imageX) << c.alignment;
        EXPECT_DOUBLE_EQ(button->titleLabel()->frame().origin.x,
                         c.imageX + image.width + UIButton::kImageTitleSpacing)
            << c.alignment;
    }
}

} // namespace
