#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <UIKit/SDKMenuViewController.h>
#include <UIKit/UIKit.h>

#include "HostedPage.h"

namespace {

using BarItem = ViewFinder::BarItem;

// The message of the step error an act throws; empty when it throws none.
template <class Act> std::string stepError(Act act) {
    try {
        act();
    } catch (const HostError& error) {
        return error.what();
    }
    return "";
}

TEST(PageDriver, TapsTheBarButtonAPersonSeesForEachItem) {
    struct Case {
        std::vector<std::string> languages;
        BarItem item;
        const char* heard;
        bool atRightEnd;
    };
    const Case cases[] = {
        {{"en"}, BarItem::Left, "Edit", false},
        {{"en"}, BarItem::Right, "Apply", true},
        // Right to left, the item's left button shows at the bar's right end.
        {{"ar"}, BarItem::Left, "Edit", true},
        {{"ar"}, BarItem::Right, "Apply", false},
    };
    for (const Case& given : cases) {
        TemporaryDeviceRoot root;
        DeviceLook look;
        look.languages = given.languages;
        HostedPage page(root, {HostedPage::row("PSSwitchCell", "on")}, {}, "", look);
        std::vector<std::string> heard;
        auto item = [&](const char* title) {
            return alloc<UIBarButtonItem>()->initWithTitle(
                std::string(title), UIBarButtonItemStylePlain,
                [&heard, title](const Ref<UIBarButtonItem>&) { heard.push_back(title); });
        };
        // With no left item the back button leads to Settings' list.
        EXPECT_NE(ViewFinder::barButton(page.host->navigationController()->navigationBar(),
                                        BarItem::Back),
                  nullptr);
        page.controller->navigationItem()->setLeftBarButtonItem(item("Edit"));
        page.controller->navigationItem()->setRightBarButtonItem(item("Apply"));
        page.host->settle();

        Ref<UINavigationBar> bar = page.host->navigationController()->navigationBar();
        EXPECT_EQ(ViewFinder::barButton(bar, BarItem::Back), nullptr);
        Ref<UIView> button = ViewFinder::barButton(bar, given.item);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(CGRectGetMidX(button->frame()) > CGRectGetMidX(bar->bounds()), given.atRightEnd);
        page.driver->tapBarButton(given.item);
        EXPECT_EQ(heard, std::vector<std::string>{given.heard});
        EXPECT_EQ(stepError([&] { page.driver->goBack(); }),
                  "the bundle's own page is shown; there is no page to go back from");
    }
}

TEST(PageDriver, PressesOnlyAButtonThatShowsAndClosesAMenuBesideIt) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {HostedPage::row("PSSwitchCell", "on")});
    std::vector<std::string> heard;
    auto alert = UIAlertController::alertControllerWithTitle("Title", std::nullopt,
                                                             UIAlertControllerStyleAlert);
    for (const char* title : {"Cancel", "OK"}) {
        alert->addAction(UIAlertAction::actionWithTitle(
            std::string(title), UIAlertActionStyleDefault,
            [&heard, title](const Ref<UIAlertAction>&) { heard.push_back(title); }));
    }
    alert->actions()[1]->setEnabled(false);
    page.controller->presentViewController(alert, false, nullptr);
    page.host->settle();

    EXPECT_EQ(stepError([&] { page.driver->pressButton("OK"); }),
              "the alert has no button \"OK\" (its buttons: \"Cancel\")");
    EXPECT_EQ(stepError([&] { page.driver->dismiss(); }),
              "an alert closes with one of its buttons; use button TITLE");
    page.driver->pressButton("Cancel");
    EXPECT_EQ(heard, std::vector<std::string>{"Cancel"});
    EXPECT_EQ(page.window->topViewController(), page.window->rootViewController());

    // A menu opened from the row closes at a touch beside its panel.
    SDKMenuViewController::presentMenu(
        UIMenu::menuWithChildren({UIAction::actionWithTitle(
            std::string("Share"), nullptr, std::nullopt,
            [&heard](const Ref<UIAction>&) { heard.push_back("Share"); })}),
        page.cell(0));
    page.host->settle();
    ASSERT_NE(objc_cast<SDKMenuViewController>(page.window->topViewController()), nullptr);
    EXPECT_EQ(stepError([&] { page.driver->chooseItem("Rate"); }),
              "the menu has no item \"Rate\" (its items: \"Share\")");
    page.driver->dismiss();
    EXPECT_EQ(page.window->topViewController(), page.window->rootViewController());
    EXPECT_EQ(heard, std::vector<std::string>{"Cancel"});
}

} // namespace
