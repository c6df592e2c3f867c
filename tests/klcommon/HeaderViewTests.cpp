#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Foundation/SDKEventLog.h>
#include <MessageUI/SDKMailAccount.h>
#include <UIKit/SDKMenuViewController.h>
#include <UIKit/UIAction.h>
#include <UIKit/UIActivityViewController.h>
#include <UIKit/UIButton.h>
#include <UIKit/UIImageView.h>
#include <UIKit/UILabel.h>
#include <UIKit/UIMenu.h>
#include <UIKit/UIMenuElement.h>
#include <UIKit/UIStackView.h>
#include <UIKit/UIWindow.h>
#include <automation/Finger.h>
#include <automation/ViewFinder.h>

#include "AvatarFetch.h"
#include "KLHeaderView.h"
#include "LoopbackNetwork.h"

namespace {

using Strings = std::optional<std::string>;

struct Arguments {
    Strings handle = std::string("alice");
    Strings developer = std::string("Alice Dev");
    Strings tweak = std::string("Demo");
    Strings version = std::string("1.2");
    Strings email = std::string("support@example.com");
    Strings discord = std::string("https://discord.gg/demo");
    Strings donate = std::string("https://example.com/donate");
};

Ref<KLHeaderView> makeHeader(const Arguments& a, CGRect frame = CGRectMake(0, 0, 390, 200)) {
    return alloc<KLHeaderView>()->initWithFrame(frame, a.handle, a.developer, a.tweak, a.version,
                                                a.email, a.discord, a.donate);
}

// How many references a header's author button has when no read holds it:
// its header's and its stack's, and the one a caller holds.
long authorButtonReferences() {
    Arguments withoutHandle;
    withoutHandle.handle = std::nullopt;
    return makeHeader(withoutHandle)->authorButton().use_count();
}

bool waitForRead(const Ref<KLHeaderView>& header) {
    return waitForAvatarRead(header->authorButton(), authorButtonReferences());
}

// A header inside a view controller's view in a window, as a page holds it
// (or beside it, held by none); touches reach it only through the window.
struct Page {
    explicit Page(const Ref<KLHeaderView>& shown, bool withController = true) : header(shown) {
        window = alloc<UIWindow>()->initWithFrame(CGRectMake(0, 0, 390, 844));
        controller = alloc<UIViewController>()->init();
        window->setRootViewController(controller);
        // Straight in the window, no view controller holds the header.
        (withController ? controller->view() : Ref<UIView>(window))->addSubview(header);
        window->layoutIfNeeded();
    }
    ~Page() { waitForRead(header); }

    Ref<UIViewController> top() const { return window->topViewController(); }
    // Taps the more button, then the menu's row with this title.
    void choose(const std::string& title) {
        Finger(window).tap(header->moreButton());
        auto menu = objc_cast<SDKMenuViewController>(top());
        ASSERT_TRUE(menu);
        for (const auto& [action, row] : menu->rows()) {
            if (action->title() == title) {
                Finger(window).tap(row);
                DispatchMainQueue::drain();
                return;
            }
        }
        FAIL() << "no menu item " << title;
    }
    std::vector<std::string> opened() const {
        std::vector<std::string> addresses;
        for (const SDKEvents::OpenURL& opened : SDKEventLog::records<SDKEvents::OpenURL>()) {
            addresses.push_back(opened.url);
        }
        return addresses;
    }

    Ref<KLHeaderView> header;
    Ref<UIWindow> window;
    Ref<UIViewController> controller;
};

std::vector<std::pair<std::string, std::string>> itemsOf(const Ref<UIMenu>& menu) {
    std::vector<std::pair<std::string, std::string>> items;
    for (const Ref<UIMenuElement>& child : menu->children()) {
        items.emplace_back(child->title(),
                           child->image() ? child->image()->symbolName().value_or("") : "");
    }
    return items;
}

class HeaderViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        SDKEventLog::clear();
        SDKMailAccount::reset();
    }
    void TearDown() override { SDKMailAccount::reset(); }

    LoopbackNetwork network{KL_AVATAR_HOST};
};

} // namespace

TEST_F(HeaderViewTest, TheMenuHoldsTheItemsItsStringsAllow) {
    const std::pair<std::string, std::string> share{"Share", "square.and.arrow.up"},
        follow{"Follow on Twitter", "person.crop.circle.badge.plus"},
        mail{"Email support", "envelope"},
        discord{"Join the Discord", "bubble.left.and.bubble.right"};
    const struct {
        const char* name;
        Strings handle, email, discordURL;
        std::vector<std::pair<std::string, std::string>> items;
    } cases[] = {
        {"every string", "alice", "a@b.c", "https://discord.gg/x", {share, follow, mail, discord}},
        {"empty strings", "", "", "", {share}},
        {"nil strings", std::nullopt, std::nullopt, std::nullopt, {share}},
        {"only an e-mail", "", "a@b.c", std::nullopt, {share, mail}},
        {"handle and Discord", "alice", std::nullopt, "d", {share, follow, discord}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Arguments arguments;
        arguments.handle = c.handle;
        arguments.email = c.email;
        arguments.discord = c.discordURL;
        Ref<KLHeaderView> header = makeHeader(arguments);
        Ref<UIMenu> menu = header->moreButton()->menu();
        ASSERT_TRUE(menu);
        EXPECT_EQ(menu->title(), "Demo");
        EXPECT_EQ(itemsOf(menu), c.items);
        EXPECT_TRUE(header->moreButton()->showsMenuAsPrimaryAction());
        // Without a handle the author button shows the name alone.
        EXPECT_EQ(header->authorButton()->authorIcon() != nullptr, c.handle.value_or("") != "");
        ASSERT_TRUE(waitForRead(header));
    }
}

TEST_F(HeaderViewTest, LaysTheContentOutCentredAtItsFixedSizes) {
    const struct {
        const char* name;
        CGRect frame;
    } cases[] = {
        {"a page-wide banner", CGRectMake(0, 0, 390, 200)},
        {"a narrow, short frame", CGRectMake(20, 30, 300, 60)},
        {"an offset frame", CGRectMake(50, 100, 250, 120)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Arguments arguments;
        arguments.donate = std::string();
        Page page(makeHeader(arguments, c.frame));
        const Ref<KLHeaderView>& header = page.header;
        EXPECT_EQ(header->frame(), c.frame);
        const CGRect content = header->vStack()->frame();
        EXPECT_EQ(content.size.height, 80);
        EXPECT_DOUBLE_EQ(CGRectGetMidX(content), c.frame.size.width / 2);
        EXPECT_DOUBLE_EQ(CGRectGetMidY(content), c.frame.size.height / 2);
        // Less than 80 points high: the content overflows, and nothing clips it.
        EXPECT_EQ(content.origin.y < 0, c.frame.size.height < 80);
        EXPECT_FALSE(header->clipsToBounds());
        EXPECT_EQ(header->hStack()->frame().size, CGSizeMake(225, 30));
        const struct {
            Ref<UIView> view;
            CGRect frame;
        } row[] = {
            {header->authorButton(), CGRectMake(0, 0, 85, 30)},
            {header->versionLabel(), CGRectMake(90, 0, 65, 30)},
            {header->donateButton(), CGRectMake(160, 0, 30, 30)},
            {header->moreButton(), CGRectMake(195, 0, 30, 30)},
        };
        for (const auto& item : row) {
            EXPECT_EQ(item.view->frame(), item.frame) << item.view->className();
            EXPECT_EQ(item.view->superview(), header->hStack());
        }
        EXPECT_EQ(header->authorButton()->authorIcon()->frame(), CGRectMake(5, 5, 20, 20));
        EXPECT_EQ(header->authorButton()->authorLabel()->frame(), CGRectMake(25, 0, 55, 30));
        EXPECT_EQ(header->versionLabel()->authorLabel()->frame(), CGRectMake(5, 0, 55, 30));
        EXPECT_EQ(header->versionLabel()->authorLabel()->text(), "1.2");
        EXPECT_FALSE(header->versionLabel()->authorIcon());
        EXPECT_EQ(header->tweakNameLabel()->text(), "Demo");
        EXPECT_EQ(header->tweakNameLabel()->font()->pointSize(), 32);
        EXPECT_TRUE(SDKEventLog::records<SDKEvents::Error>().empty());
    }
}

TEST_F(HeaderViewTest, ButtonsAndItemsOpenExactlyTheirAddresses) {
    const struct {
        const char* name;
        bool withController;
        std::string touch;
        std::string address;
    } cases[] = {
        {"author button", true, "author", "https://twitter.com/alice"},
        {"donate button", true, "donate", "https://example.com/donate"},
        {"Follow on Twitter", true, "Follow on Twitter", "https://twitter.com/alice"},
        {"Join the Discord", true, "Join the Discord", "https://discord.gg/demo"},
        {"donate without a controller", false, "donate", "https://example.com/donate"},
        {"Discord without a controller", false, "Join the Discord", "https://discord.gg/demo"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SDKEventLog::clear();
        Page page(makeHeader(Arguments()), c.withController);
        if (c.touch == "author") {
            Finger(page.window).tap(page.header->authorButton());
        } else if (c.touch == "donate") {
            Finger(page.window).tap(page.header->donateButton());
        } else {
            page.choose(c.touch);
        }
        EXPECT_EQ(page.opened(), std::vector<std::string>{c.address});
    }
}

TEST_F(HeaderViewTest, SharesTheTextItReadsWhenChosen) {
    const struct {
        const char* name;
        Strings tweak, developer;
        Strings renamedTweak;
        std::string text;
    } cases[] = {
        {"as made", "Demo", "Alice Dev", std::nullopt,
         "I'm using an awesome tweak called Demo by Alice Dev!"},
        {"renamed after the menu was made", "Demo", "Alice Dev", "Renamed",
         "I'm using an awesome tweak called Renamed by Alice Dev!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Arguments arguments;
        arguments.tweak = c.tweak;
        arguments.developer = c.developer;
        Page page(makeHeader(arguments));
        if (c.renamedTweak) {
            page.header->setTweakName(c.renamedTweak);
        }
        page.choose("Share");
        auto sheet =
            objc_cast<UIActivityViewController>(page.controller->presentedViewController());
        ASSERT_TRUE(sheet);
        EXPECT_EQ(sheet->activityItems(), Value::Array{Value(c.text)});
        EXPECT_FALSE(sheet->popoverPresentationController());
        // The menu's title stays what it was when the menu was made.
        EXPECT_EQ(page.header->moreButton()->menu()->title(), "Demo");
        // The sheet's own close button ends it.
        Finger(page.window).tap(ViewFinder::closeButton(sheet->view()));
        EXPECT_FALSE(page.controller->presentedViewController());
    }
}

TEST_F(HeaderViewTest, WritesToSupportWhenThereIsAnAccount) {
    const struct {
        const char* name;
        bool account;
        bool sendingFails;
        std::vector<std::string> buttons;
        std::optional<MFMailComposeResult> result;
    } cases[] = {
        {"sent", true, false, {"Send"}, MFMailComposeResultSent},
        {"failed", true, true, {"Send"}, MFMailComposeResultFailed},
        {"saved", true, false, {"Cancel", "Save Draft"}, MFMailComposeResultSaved},
        {"cancelled", true, false, {"Cancel", "Delete Draft"}, MFMailComposeResultCancelled},
        {"no mail account", false, false, {}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SDKEventLog::clear();
        SDKMailAccount::setConfigured(c.account);
        SDKMailAccount::setSendingFails(c.sendingFails);
        Page page(makeHeader(Arguments()));
        page.choose("Email support");
        auto composer =
            objc_cast<MFMailComposeViewController>(page.controller->presentedViewController());
        if (!c.result) {
            EXPECT_FALSE(page.controller->presentedViewController());
            continue;
        }
        ASSERT_TRUE(composer);
        EXPECT_EQ(composer->subject(), "Demo Support");
        EXPECT_EQ(composer->toRecipients(), std::vector<std::string>{"support@example.com"});
        EXPECT_EQ(composer->mailComposeDelegate().get(),
                  static_cast<MFMailComposeViewControllerDelegate*>(page.header.get()));
        for (const std::string& title : c.buttons) {
            Ref<UIButton> button = ViewFinder::buttonTitled(composer->view(), title);
            ASSERT_TRUE(button) << title;
            Finger(page.window).tap(button);
        }
        const auto results = SDKEventLog::records<SDKEvents::MailComposeResult>();
        ASSERT_EQ(results.size(), 1u);
        EXPECT_EQ(results[0].result, static_cast<long>(*c.result));
        // The delegate dismissed it, whatever the result.
        EXPECT_FALSE(page.controller->presentedViewController());
    }
}

TEST_F(HeaderViewTest, PresentsNothingWithoutAController) {
    for (const char* item : {"Share", "Email support"}) {
        SCOPED_TRACE(item);
        SDKEventLog::clear();
        Page page(makeHeader(Arguments()), false);
        page.choose(item);
        // Only the menu was shown, and it has closed.
        EXPECT_EQ(SDKEventLog::records<SDKEvents::Present>().size(), 1u);
        EXPECT_FALSE(page.controller->presentedViewController());
    }
}

TEST_F(HeaderViewTest, TheMenuDoesNotKeepTheHeaderAlive) {
    Ref<UIMenu> menu;
    Weak<KLHeaderView> weakHeader;
    {
        Ref<KLHeaderView> header = makeHeader(Arguments());
        menu = header->moreButton()->menu();
        weakHeader = header;
        ASSERT_TRUE(waitForRead(header));
    }
    EXPECT_TRUE(weakHeader.expired());
    // The menu outlives it; choosing from it does nothing.
    for (const Ref<UIMenuElement>& item : menu->children()) {
        objc_cast<UIAction>(item)->performWithSender();
    }
    EXPECT_TRUE(SDKEventLog::records<SDKEvents::OpenURL>().empty());
}

TEST_F(HeaderViewTest, ReadsTheAvatarOfItsHandle) {
    network.server->setAnswer("/twitter/alice", LoopbackHTTPSServer::Answer::Image);
    Page page(makeHeader(Arguments()));
    ASSERT_TRUE(waitForRead(page.header));
    EXPECT_EQ(network.server->targets(), std::vector<std::string>{"/twitter/alice?fallback=false"});
    EXPECT_FALSE(page.header->authorButton()->authorIcon()->image()->isSymbolImage());
}
