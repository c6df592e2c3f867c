#include <gtest/gtest.h>

#include <Foundation/SDKEventLog.h>
#include <SafariServices/SFSafariViewController.h>
#include <UIKit/UIButton.h>
#include <UIKit/UILabel.h>
#include <UIKit/UINavigationController.h>
#include <UIKit/UITableView.h>

#include "HostedPage.h"
#include "KLRepoCell.h"

namespace {

Value::Dictionary repoRow(Value::Dictionary extra = {}) {
    Value::Dictionary row{{"cell", "PSTableCell"}, {"cellClass", "KLRepoCell"}};
    for (auto& [key, value] : extra) {
        row[key] = value;
    }
    return row;
}

// A finger taps the middle of the row's button, as on the page's screen.
void tapButton(HostedPage& page, const Ref<KLRepoCell>& cell) {
    page.tap(cell->button());
}

// Whether a label under `root` shows the text.
bool showsText(const Ref<UIView>& root, const std::string& text) {
    for (const Ref<UIView>& view : ViewFinder::allViews(root)) {
        auto label = objc_cast<UILabel>(view);
        if (label && label->text() == text) {
            return true;
        }
    }
    return false;
}

// The browser's Done control, found on its screen as a person finds it.
Ref<UIButton> doneButton(const Ref<SFSafariViewController>& browser) {
    return ViewFinder::buttonTitled(browser->view(), "Done");
}

Ref<SFSafariViewController> presentedBrowser(HostedPage& page) {
    return objc_cast<SFSafariViewController>(page.controller->presentedViewController());
}

TEST(RepoCell, IsAlways120PointsHigh) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {repoRow({{"height", 44}}), repoRow()});
    for (size_t row = 0; row < 2; ++row) {
        ASSERT_NE(page.cell<KLRepoCell>(row), nullptr);
        EXPECT_EQ(page.specifier(row)->propertyForKey("height"), Value(120));
        EXPECT_EQ(page.controller->table()->sections()[0].rows[row].height, 120);
    }
}

TEST(RepoCell, ReadsItsLinkAndCaption) {
    struct Case {
        Value::Dictionary extra;
        std::optional<std::string> link;
        std::optional<std::string> caption;
    };
    const Case cases[] = {
        {{}, KLRepoCell::kDefaultLink, std::nullopt},
        {{{"link", "https://example.org/tweak"}, {"title", "Our repository"}},
         "https://example.org/tweak",
         "Our repository"},
        // Present but empty stays empty; only a missing link takes the default.
        {{{"link", ""}, {"title", ""}}, "", ""},
        // Not text: no link and no caption.
        {{{"link", 42}, {"title", true}}, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        TemporaryDeviceRoot root;
        HostedPage page(root, {repoRow(c.extra)});
        auto cell = page.cell<KLRepoCell>(0);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->link(), c.link);
        EXPECT_EQ(cell->button()->labelView()->text(), c.caption);
        EXPECT_EQ(cell->button()->superview(), cell->contentView());
        // The button keeps no link of its own.
        EXPECT_EQ(cell->button()->link(), std::nullopt);
    }
}

TEST(RepoCell, TapOpensTheLinkInTheBrowserAndDoneClosesIt) {
    struct Case {
        Value::Dictionary extra;
        const char* opened;
        const char* host;
    };
    const Case cases[] = {
        {{}, KLRepoCell::kDefaultLink, "repo.example.com"},
        {{{"link", "https://example.org/tweak?from=settings"}},
         "https://example.org/tweak?from=settings",
         "example.org"},
        {{{"link", "HTTP://example.org"}}, "HTTP://example.org", "example.org"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.opened);
        TemporaryDeviceRoot root;
        HostedPage page(root, {repoRow(c.extra)});
        auto cell = page.cell<KLRepoCell>(0);
        tapButton(page, cell);
        auto browser = presentedBrowser(page);
        ASSERT_NE(browser, nullptr);
        EXPECT_EQ(browser->title(), c.opened);
        EXPECT_EQ(browser->delegate().get(),
                  static_cast<SFSafariViewControllerDelegate*>(cell.get()));
        // The page presents through the navigation controller it is in.
        EXPECT_EQ(browser->presentingViewController(), page.host->navigationController());
        EXPECT_EQ(page.controller->presentedViewController(), browser);
        // Its address bar shows the host, over the page it covers.
        EXPECT_TRUE(showsText(browser->view(), c.host));
        EXPECT_EQ(page.window->topViewController(), browser);

        Ref<UIButton> done = doneButton(browser);
        ASSERT_NE(done, nullptr);
        page.tap(done);
        EXPECT_EQ(page.controller->presentedViewController(), nullptr);
        EXPECT_EQ(browser->presentingViewController(), nullptr);
        EXPECT_EQ(SDKEventLog::records<SDKEvents::Dismiss>().size(), 1u);

        // Each tap presents a new browser.
        tapButton(page, cell);
        ASSERT_NE(presentedBrowser(page), nullptr);
        EXPECT_NE(presentedBrowser(page), browser);
    }
}

TEST(RepoCell, TheDelegateMethodDismissesTheBrowser) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {repoRow()});
    auto cell = page.cell<KLRepoCell>(0);
    tapButton(page, cell);
    auto browser = presentedBrowser(page);
    ASSERT_NE(browser, nullptr);
    cell->safariViewControllerDidFinish(browser);
    EXPECT_EQ(page.controller->presentedViewController(), nullptr);
    EXPECT_EQ(browser->presentingViewController(), nullptr);
}

TEST(RepoCell, ATapOnALinkTheBrowserCannotShowDoesNothing) {
    const char* const links[] = {"",
                                 "mailto:support@example.com",
                                 "file:///var/mobile/Library",
                                 "https://exa mple.com",
                                 "https://",
                                 "repo.example.com",
                                 "javascript:alert(1)",
                                 "ht!tp://example.com"};
    for (const char* link : links) {
        SCOPED_TRACE(link);
        TemporaryDeviceRoot root;
        HostedPage page(root, {repoRow({{"link", link}})});
        auto cell = page.cell<KLRepoCell>(0);
        SDKEventLog::clear();
        tapButton(page, cell);
        EXPECT_EQ(page.controller->presentedViewController(), nullptr);
        EXPECT_TRUE(SDKEventLog::events().empty());
    }
}

TEST(RepoCell, OutsideAViewControllerATapAndACloseDoNothing) {
    auto cell = alloc<KLRepoCell>()->initWithStyle(UITableViewCellStyleDefault, "repo", nullptr);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->link(), KLRepoCell::kDefaultLink);
    SDKEventLog::clear();
    cell->button()->sendActionsForControlEvents(UIControlEventTouchUpInside);
    cell->safariViewControllerDidFinish(nullptr);
    EXPECT_TRUE(SDKEventLog::events().empty());
}

TEST(RepoCell, ButtonFollowsTheContentViewsWidth) {
    auto cell = alloc<KLRepoCell>()->initWithStyle(UITableViewCellStyleDefault, "repo", nullptr);
    // Made at the cell's default width, before the table sizes the row.
    EXPECT_EQ(cell->button()->frame(), CGRectMake(0, 0, 320, 120));
    const CGFloat widths[] = {375, 414, 200};
    for (CGFloat width : widths) {
        cell->setFrame(CGRectMake(0, 0, width, 120));
        cell->layoutIfNeeded();
        EXPECT_EQ(cell->contentView()->bounds().size.width, width);
        EXPECT_EQ(cell->button()->frame(), CGRectMake(0, 0, width, 120));
    }
}

TEST(RepoCell, IsFoundByName) {
    EXPECT_EQ(objc_getClass("KLRepoCell"), &OBJC_CLASS_$_KLRepoCell);
    EXPECT_TRUE(class_respondsToSelector(&OBJC_CLASS_$_KLRepoCell,
                                         "initWithStyle:reuseIdentifier:specifier:"));
    EXPECT_EQ(objc_getClass("KLRepoCellButton"), &OBJC_CLASS_$_KLRepoCellButton);
}

} // namespace
