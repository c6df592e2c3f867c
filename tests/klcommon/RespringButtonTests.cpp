#include <filesystem>

#include <gtest/gtest.h>

#include <Foundation/NSProcessInfo.h>
#include <Foundation/SDKEventLog.h>
#include <UIKit/UIAction.h>
#include <UIKit/UIImage.h>
#include <UIKit/UIMenu.h>
#include <objc/runtime.h>

#include "KLRespringButton.h"
#include "TemporaryDeviceRoot.h"

namespace {

// The private services are not loaded in this program: the relaunch way
// finds nothing. The device's iOS version is put back after each test.
class RespringButton : public testing::Test {
protected:
    void SetUp() override { SDKEventLog::clear(); }
    void TearDown() override { NSProcessInfo::setOperatingSystemVersion(_version); }

    static Ref<UIAction> respringItem(const Ref<KLRespringButton>& button) {
        return objc_cast<UIAction>(button->menu()->children().at(0));
    }
    static void installKillall(const TemporaryDeviceRoot& root) {
        root.write("/usr/bin/killall", std::string("#!/bin/sh\n"));
        std::filesystem::permissions(root.host("/usr/bin/killall"),
                                     std::filesystem::perms::owner_all);
    }

private:
    NSOperatingSystemVersion _version = NSProcessInfo::processInfo()->operatingSystemVersion();
};

TEST_F(RespringButton, ShowsTheSymbolOfTheSystemVersion) {
    struct Case {
        NSOperatingSystemVersion version;
        const char* symbol;
    };
    const Case cases[] = {
        {{14, 4, 0}, "checkmark.circle"},     {{14, 8, 1}, "checkmark.circle"},
        {{15, 0, 0}, "gear.badge.checkmark"}, {{15, 8, 2}, "gear.badge.checkmark"},
        {{16, 0, 0}, "gear.badge.checkmark"}, {{17, 1, 0}, "gear.badge.checkmark"},
    };
    for (const Case& c : cases) {
        NSProcessInfo::setOperatingSystemVersion(c.version);
        auto button = alloc<KLRespringButton>()->init();
        ASSERT_NE(button->image(), nullptr);
        EXPECT_EQ(button->image()->symbolName(), c.symbol) << c.version.majorVersion;
    }
}

TEST_F(RespringButton, OpensAOneItemMenuInsteadOfAnAction) {
    auto button = alloc<KLRespringButton>()->init();
    EXPECT_EQ(button->style(), UIBarButtonItemStylePlain);
    EXPECT_FALSE(button->hasAction());
    EXPECT_FALSE(button->inApp());
    ASSERT_NE(button->menu(), nullptr);
    EXPECT_EQ(button->menu()->title(), "");
    ASSERT_EQ(button->menu()->children().size(), 1u);
    auto item = respringItem(button);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->title(), "Respring");
    EXPECT_EQ(item->image(), nullptr);
}

TEST_F(RespringButton, WithoutThePrivateServicesTheRelaunchDoesNothing) {
    ASSERT_EQ(objc_getClass("SBSRelaunchAction"), nullptr);
    ASSERT_EQ(objc_getClass("FBSSystemService"), nullptr);
    auto button = alloc<KLRespringButton>()->init();
    EXPECT_NO_THROW(respringItem(button)->performWithSender());
    EXPECT_NO_THROW(button->respring());
    EXPECT_TRUE(SDKEventLog::events().empty());
}

TEST_F(RespringButton, InAppKillsBackboarddThroughKillall) {
    TemporaryDeviceRoot root;
    installKillall(root);
    auto button = alloc<KLRespringButton>()->init();
    button->setInApp(true);
    // The menu item, then a direct call: the same request each time.
    respringItem(button)->performWithSender();
    button->respring();
    const auto spawns = SDKEventLog::records<SDKEvents::Spawn>();
    ASSERT_EQ(spawns.size(), 2u);
    for (const SDKEvents::Spawn& spawn : spawns) {
        EXPECT_EQ(spawn.path, "/usr/bin/killall");
        EXPECT_EQ(spawn.arguments, (std::vector<std::string>{"killall", "-9", "backboardd"}));
        EXPECT_FALSE(spawn.environment);
        EXPECT_FALSE(spawn.error);
    }
    EXPECT_EQ(SDKEventLog::events().size(), 2u);
}

TEST_F(RespringButton, InAppWithoutKillallStartsNothing) {
    // A rootless device keeps killall under /var/jb, where the fixed path does not look.
    TemporaryDeviceRoot root;
    root.write("/var/jb/usr/bin/killall", std::string("#!/bin/sh\n"));
    auto button = alloc<KLRespringButton>()->init();
    button->setInApp(true);
    EXPECT_NO_THROW(button->respring());
    const auto spawns = SDKEventLog::records<SDKEvents::Spawn>();
    ASSERT_EQ(spawns.size(), 1u);
    EXPECT_EQ(spawns[0].error, "ENOENT");
    EXPECT_FALSE(spawns[0].pid);
}

TEST_F(RespringButton, TheMenuDoesNotKeepTheButtonAlive) {
    auto button = alloc<KLRespringButton>()->init();
    Ref<UIAction> item = respringItem(button);
    Weak<KLRespringButton> weak = button;
    button.reset();
    EXPECT_TRUE(weak.expired());
    EXPECT_NO_THROW(item->performWithSender());
}

TEST_F(RespringButton, IsMadeAndUsedByName) {
    Class cls = objc_getClass("KLRespringButton");
    ASSERT_EQ(cls, &OBJC_CLASS_$_KLRespringButton);
    const Id button = objc_msgSend(objc_msgSend(cls, "alloc"), "init");
    ASSERT_NE(button.object<KLRespringButton>(), nullptr);
    objc_msgSend(button, "setInApp:", Id(true));
    EXPECT_TRUE(objc_msgSend(button, "inApp").boolValue());
    EXPECT_TRUE(class_respondsToSelector(cls, "respring"));
}

} // namespace
