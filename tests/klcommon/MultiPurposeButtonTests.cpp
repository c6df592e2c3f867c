#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Foundation/NSProcessInfo.h>
#include <Foundation/SDKEventLog.h>
#include <Foundation/SDKNetworkSettings.h>
#include <UIKit/UIColor.h>
#include <UIKit/UIImage.h>
#include <UIKit/UIImageView.h>
#include <UIKit/UILabel.h>
#include <UIKit/UIScreen.h>
#include <UIKit/UIWindow.h>

#include "AvatarFetch.h"
#include "KLMultiPurposeButton.h"
#include "LoopbackNetwork.h"
#include "automation/Finger.h"

namespace {

using Answer = LoopbackHTTPSServer::Answer;

Ref<KLMultiPurposeButton> makeButton(CGRect frame, const std::optional<std::string>& title,
                                     const std::optional<std::string>& image, bool symbol) {
    return alloc<KLMultiPurposeButton>()->initWithFrame(frame, title, image, symbol);
}

// A window holding the control at its frame, laid out by a real pass.
struct Shown {
    explicit Shown(const Ref<KLMultiPurposeButton>& control) {
        window = alloc<UIWindow>()->initWithFrame(UIScreen::mainScreen()->bounds());
        window->addSubview(control);
        window->layoutIfNeeded();
    }
    Ref<UIWindow> window;
};

// The control and the window hold it.
constexpr long kShownReferences = 2;

// Active constraints held by the control and by its subviews (a constant
// size is held by the view it sizes).
size_t activeConstraints(const Ref<KLMultiPurposeButton>& button) {
    size_t count = button->constraints().size();
    for (const Ref<UIView>& subview : button->subviews()) {
        count += subview->constraints().size();
    }
    return count;
}

std::optional<std::string> iconSymbol(const Ref<KLMultiPurposeButton>& button) {
    if (!button->authorIcon() || !button->authorIcon()->image()) {
        return std::nullopt;
    }
    return button->authorIcon()->image()->symbolName();
}

class MultiPurposeButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        SDKEventLog::clear();
        DispatchMainQueue::drain();
    }
    void TearDown() override { NSProcessInfo::setOperatingSystemVersion(_version); }

    LoopbackNetwork network{KL_AVATAR_HOST};

private:
    NSOperatingSystemVersion _version = NSProcessInfo::processInfo()->operatingSystemVersion();
};

} // namespace

TEST_F(MultiPurposeButtonTest, BuildsWhatItsArgumentsAskFor) {
    const struct {
        const char* name;
        std::optional<std::string> title, image;
        bool symbol;
        bool hasText, hasImage;
        std::optional<std::string> shownSymbol;
        CGFloat iconRadius;
        size_t constraints;
        bool reads;
    } cases[] = {
        {"nothing", "", "", false, false, false, std::nullopt, 0, 0, false},
        {"nil strings", std::nullopt, std::nullopt, true, false, false, std::nullopt, 0, 0, false},
        {"text only", "1.2", "", false, true, false, std::nullopt, 0, 4, false},
        {"symbol only", "", "gear.badge.checkmark", true, false, true, "gear.badge.checkmark", 0, 4,
         false},
        {"symbol and text", "Dev", "envelope", true, true, true, "envelope", 0, 8, false},
        {"unknown symbol", "", "no.such.symbol", true, false, true, std::nullopt, 0, 4, false},
        {"avatar and text", "Dev", "alice", false, true, true, "person.crop.square.fill", 10, 8,
         true},
        {"avatar only", std::nullopt, "alice", false, false, true, "person.crop.square.fill", 10, 4,
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const size_t readsBefore = network.server->targets().size();
        Ref<KLMultiPurposeButton> button =
            makeButton(CGRectMake(0, 0, 85, 30), c.title, c.image, c.symbol);
        ASSERT_TRUE(button);
        EXPECT_EQ(button->hasText(), c.hasText);
        EXPECT_EQ(button->hasImage(), c.hasImage);
        EXPECT_EQ(button->imageIsSFSymbol(), c.symbol);
        EXPECT_EQ(button->authorLabel() != nullptr, c.hasText);
        EXPECT_EQ(button->authorIcon() != nullptr, c.hasImage);
        EXPECT_TRUE(UIColorEqual(button->backgroundColor(), UIColor::grayColor()));
        EXPECT_EQ(button->layer()->cornerRadius(), 5);
        EXPECT_TRUE(button->clipsToBounds());
        EXPECT_EQ(iconSymbol(button), c.shownSymbol);
        if (Ref<UIImageView> icon = button->authorIcon()) {
            EXPECT_TRUE(UIColorEqual(icon->tintColor(), UIColor::whiteColor()));
            EXPECT_EQ(icon->contentMode(), UIViewContentModeScaleAspectFit);
            EXPECT_EQ(icon->layer()->cornerRadius(), c.iconRadius);
            EXPECT_EQ(icon->clipsToBounds(), c.iconRadius > 0);
            // The image view comes before the label.
            EXPECT_EQ(button->subviews().front(), icon);
        }
        if (Ref<UILabel> label = button->authorLabel()) {
            EXPECT_EQ(label->text(), c.title);
            EXPECT_TRUE(UIColorEqual(label->textColor(), UIColor::whiteColor()));
            EXPECT_EQ(label->font()->pointSize(), 14);
            EXPECT_TRUE(label->adjustsFontSizeToFitWidth());
            EXPECT_EQ(label->textAlignment(), NSTextAlignmentCenter);
        }
        Shown shown(button);
        EXPECT_EQ(activeConstraints(button), c.constraints);
        ASSERT_TRUE(waitForAvatarRead(button, kShownReferences));
        EXPECT_EQ(network.server->targets().size() - readsBefore, c.reads ? 1u : 0u);
    }
}

TEST_F(MultiPurposeButtonTest, LaysOutTheWorkedSizes) {
    const struct {
        const char* name;
        CGRect frame;
        std::optional<std::string> title, image;
        std::optional<CGRect> icon, label;
    } cases[] = {
        {"author button", CGRectMake(0, 0, 85, 30), "Developer", "alice", CGRectMake(5, 5, 20, 20),
         CGRectMake(25, 0, 55, 30)},
        {"version badge", CGRectMake(0, 0, 65, 30), "1.2", "", std::nullopt,
         CGRectMake(5, 0, 55, 30)},
        {"symbol only", CGRectMake(10, 20, 30, 30), "", "envelope", CGRectMake(5, 5, 20, 20),
         std::nullopt},
        {"taller author button", CGRectMake(0, 0, 120, 40), "Developer", "alice",
         CGRectMake(5, 5, 30, 30), CGRectMake(35, 0, 80, 40)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<KLMultiPurposeButton> button =
            makeButton(c.frame, c.title, c.image, c.image == "envelope");
        Shown shown(button);
        if (c.icon) {
            EXPECT_EQ(button->authorIcon()->frame(), *c.icon);
        }
        if (c.label) {
            EXPECT_EQ(button->authorLabel()->frame(), *c.label);
        }
        EXPECT_TRUE(SDKEventLog::records<SDKEvents::Error>().empty());
        ASSERT_TRUE(waitForAvatarRead(button, kShownReferences));
    }
}

TEST_F(MultiPurposeButtonTest, EachHeightChangeReplacesTheLayoutConstraints) {
    Ref<KLMultiPurposeButton> button =
        makeButton(CGRectMake(0, 0, 85, 30), "Developer", "alice", false);
    Shown shown(button);
    const size_t constraints = activeConstraints(button);
    const CGFloat heights[] = {40, 30, 50, 50, 24};
    for (CGFloat height : heights) {
        SCOPED_TRACE(height);
        button->setFrame(CGRectMake(0, 0, 85 + height, height));
        shown.window->layoutIfNeeded();
        // One set is active, made for the height at this pass.
        EXPECT_EQ(activeConstraints(button), constraints);
        EXPECT_EQ(button->authorIcon()->frame(), CGRectMake(5, 5, height - 10, height - 10));
        EXPECT_EQ(button->authorLabel()->frame(), CGRectMake(height - 5, 0, 85, height));
        // The avatar keeps the corner radius of the height it was made with.
        EXPECT_EQ(button->authorIcon()->layer()->cornerRadius(), 10);
    }
    EXPECT_TRUE(SDKEventLog::records<SDKEvents::Error>().empty());
    ASSERT_TRUE(waitForAvatarRead(button, kShownReferences));
}

TEST_F(MultiPurposeButtonTest, FlagsTurnedOnLaterMakeNoViewsAndNameNone) {
    Ref<KLMultiPurposeButton> button = makeButton(CGRectMake(0, 0, 65, 30), "1.2", "", false);
    button->setHasImage(true);
    Shown shown(button);
    EXPECT_FALSE(button->authorIcon());
    // The label takes the image case's constraints, less the one naming the icon.
    EXPECT_EQ(activeConstraints(button), 3u);
    EXPECT_TRUE(SDKEventLog::records<SDKEvents::Error>().empty());
}

TEST_F(MultiPurposeButtonTest, ShowsTheAvatarOnlyForAnImageAnswer) {
    const struct {
        const char* handle;
        Answer answer;
        bool untrusted;
        bool avatar;
        // The handle as the request's path segment, when it is not as written.
        const char* segment = nullptr;
    } cases[] = {
        {"image", Answer::Image, false, true},
        {"moved", Answer::RedirectToImage, false, true},
        {"empty", Answer::Empty, false, false},
        {"text", Answer::NotAnImage, false, false},
        {"missing", Answer::NotFound, false, false},
        {"loop", Answer::RedirectLoop, false, false},
        {"huge", Answer::OverCap, false, false},
        {"huge-chunked", Answer::OverCapChunked, false, false},
        {"untrusted", Answer::Image, true, false},
        {"cut", Answer::CutImage, false, false},
        {"../../../x?y#z", Answer::Image, false, true, "..%2F..%2F..%2Fx%3Fy%23z"},
        {"..", Answer::Image, false, true, "%2E%2E"},
        {"\xC3\xA9 /", Answer::Image, false, true, "%C3%A9%20%2F"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.handle);
        SDKEventLog::clear();
        LoopbackHTTPSServer& server = c.untrusted ? *network.untrustedServer : *network.server;
        network.routeTo(server);
        server.setAnswer(std::string("/twitter/") + c.handle, c.answer);
        const size_t readsBefore = server.targets().size();
        Ref<KLMultiPurposeButton> button =
            makeButton(CGRectMake(0, 0, 85, 30), "Developer", c.handle, false);
        Shown shown(button);
        ASSERT_TRUE(waitForAvatarRead(button, kShownReferences));
        const Ref<UIImage> image = button->authorIcon()->image();
        ASSERT_TRUE(image);
        EXPECT_EQ(image->isSymbolImage(), !c.avatar);
        const auto transitions = SDKEventLog::records<SDKEvents::Transition>();
        if (c.avatar) {
            EXPECT_EQ(image->size(), CGSizeMake(4, 4));
            ASSERT_EQ(transitions.size(), 1u);
            EXPECT_EQ(transitions[0].viewClassName, "UIImageView");
            EXPECT_EQ(transitions[0].duration, 0.2);
            EXPECT_EQ(transitions[0].options, 5L << 20);
        } else {
            EXPECT_EQ(image->symbolName(), "person.crop.square.fill");
            EXPECT_TRUE(transitions.empty());
        }
        if (!c.untrusted) {
            const std::vector<std::string> targets = server.targets();
            ASSERT_GT(targets.size(), readsBefore);
            EXPECT_EQ(targets[readsBefore], std::string("/twitter/") +
                                                (c.segment ? c.segment : c.handle) +
                                                "?fallback=false");
        }
    }
}

TEST_F(MultiPurposeButtonTest, HandlesTheURLRulesRefuseAreNotRead) {
    // The handle is percent-encoded before it goes into the address, so no
    // system version refuses it.
    const struct {
        NSOperatingSystemVersion version;
        std::optional<std::string> target;
    } cases[] = {
        {{16, 4, 0}, "/twitter/a%20b?fallback=false"},
        {{17, 0, 0}, "/twitter/a%20b?fallback=false"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version.majorVersion);
        NSProcessInfo::setOperatingSystemVersion(c.version);
        const size_t readsBefore = network.server->targets().size();
        Ref<KLMultiPurposeButton> button =
            makeButton(CGRectMake(0, 0, 85, 30), "Dev", "a b", false);
        ASSERT_TRUE(waitForAvatarRead(button));
        const std::vector<std::string> targets = network.server->targets();
        EXPECT_EQ(targets.size() - readsBefore, c.target ? 1u : 0u);
        if (c.target && targets.size() > readsBefore) {
            EXPECT_EQ(targets.back(), *c.target);
        }
        EXPECT_EQ(iconSymbol(button), "person.crop.square.fill");
    }
}

TEST_F(MultiPurposeButtonTest, TheMainQueueAnswersTapsWhileTheServerIsSilent) {
    ASSERT_TRUE(SDKNetworkSettings::setRequestTimeout(1));
    network.server->setAnswer("/twitter/silent", Answer::Silent);
    Ref<KLMultiPurposeButton> button =
        makeButton(CGRectMake(100, 100, 85, 30), "Developer", "silent", false);
    int taps = 0;
    struct Counter : NSObject {
        int* taps;
        void tapped() { ++*taps; }
    };
    Ref<Counter> counter = alloc<Counter>();
    counter->taps = &taps;
    button->addTarget(counter, &Counter::tapped, UIControlEventTouchUpInside);
    Shown shown(button);
    // The initialiser returned while the read waits on its server.
    for (int attempt = 0; attempt < 500 && network.server->targets().empty(); ++attempt) {
        DispatchMainQueue::drainWaiting(0.01);
    }
    ASSERT_EQ(network.server->targets().size(), 1u);
    for (int tap = 1; tap <= 3; ++tap) {
        Finger(shown.window).tapInWindow(CGPointMake(140, 115));
        DispatchMainQueue::drain();
        EXPECT_EQ(taps, tap);
    }
    EXPECT_GT(button.use_count(), kShownReferences) << "the read should still hold the control";
    ASSERT_TRUE(waitForAvatarRead(button, kShownReferences));
    EXPECT_EQ(iconSymbol(button), "person.crop.square.fill");
    EXPECT_TRUE(SDKEventLog::records<SDKEvents::Transition>().empty());
}
