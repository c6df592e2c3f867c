#include <dlfcn.h>

#include <filesystem>

#include <gtest/gtest.h>

#include <Foundation/SDKEventLog.h>
#include <UIKit/UIAction.h>
#include <UIKit/UIMenu.h>

#include "KLRespringButton.h"
#include "TemporaryDeviceRoot.h"

namespace {

// The respring button with FrontBoardServices and SpringBoardServices loaded,
// as on a device.
class RespringWithServices : public testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_NE(dlopen(KL_PRIVATE_LIBRARY, RTLD_NOW | RTLD_LOCAL), nullptr) << dlerror();
    }
    void SetUp() override {
        root.write("/usr/bin/killall", std::string("#!/bin/sh\n"));
        std::filesystem::permissions(root.host("/usr/bin/killall"),
                                     std::filesystem::perms::owner_all);
        SDKEventLog::clear();
    }

    TemporaryDeviceRoot root;
};

TEST_F(RespringWithServices, EachWayMakesExactlyOneRequest) {
    struct Case {
        bool inApp;
        bool fromMenu;
        size_t relaunches;
        size_t spawns;
    };
    const Case cases[] = {
        {false, true, 1, 0},
        {false, false, 1, 0},
        {true, true, 0, 1},
        {true, false, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "inApp " << c.inApp << ", menu " << c.fromMenu);
        SDKEventLog::clear();
        auto button = alloc<KLRespringButton>()->init();
        button->setInApp(c.inApp);
        if (c.fromMenu) {
            objc_cast<UIAction>(button->menu()->children().at(0))->performWithSender();
        } else {
            button->respring();
        }
        const auto relaunches = SDKEventLog::records<SDKEvents::Relaunch>();
        ASSERT_EQ(relaunches.size(), c.relaunches);
        EXPECT_EQ(SDKEventLog::records<SDKEvents::Spawn>().size(), c.spawns);
        if (!relaunches.empty()) {
            EXPECT_EQ(relaunches[0].reason, "RestartRenderServer");
            EXPECT_EQ(relaunches[0].options, 4L);
            EXPECT_FALSE(relaunches[0].target);
        }
    }
}

} // namespace
