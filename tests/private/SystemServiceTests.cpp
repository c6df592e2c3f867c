#include <dlfcn.h>

#include <gtest/gtest.h>

#include <Foundation/NSSet.h>
#include <Foundation/NSURL.h>
#include <Foundation/SDKEventLog.h>
#include <objc/runtime.h>

namespace {

// The services as the rows meet them: loaded at run time, found by name and
// sent messages by name.
class SystemService : public testing::Test {
protected:
    static void SetUpTestSuite() {
        // Loaded for the whole program and never unloaded, as on the device.
        ASSERT_NE(dlopen(KL_PRIVATE_LIBRARY, RTLD_NOW | RTLD_LOCAL), nullptr) << dlerror();
    }
    void SetUp() override { SDKEventLog::clear(); }

    static Id relaunchAction(const Id& reason, const Id& options, const Id& target) {
        const Id arguments[] = {reason, options, target};
        return objc_msgSend(objc_getClass("SBSRelaunchAction"),
                            "actionWithReason:options:targetURL:", arguments);
    }
    static void send(const Id& actions) {
        const Id arguments[] = {actions, Id()};
        objc_msgSend(objc_msgSend(objc_getClass("FBSSystemService"), "sharedService"),
                     "sendActions:withResult:", arguments);
    }
};

TEST_F(SystemService, RecordsEachRelaunchRequestItIsSent) {
    struct Case {
        Id reason;
        Id options;
        Id target;
        std::optional<std::string> recordedReason;
        long recordedOptions;
        std::optional<std::string> recordedTarget;
    };
    const Case cases[] = {
        {"RestartRenderServer", 4L, Id(), "RestartRenderServer", 4, std::nullopt},
        {"Update", 1L, NSURL::URLWithString(std::string("prefs:root=Demo")), "Update", 1,
         "prefs:root=Demo"},
        {Id(), Id(), Id(), std::nullopt, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        SDKEventLog::clear();
        Id action = relaunchAction(c.reason, c.options, c.target);
        ASSERT_TRUE(action);
        send(NSSet::setWithObject(action.object()));
        const auto relaunches = SDKEventLog::records<SDKEvents::Relaunch>();
        ASSERT_EQ(relaunches.size(), 1u);
        EXPECT_EQ(relaunches[0].reason, c.recordedReason);
        EXPECT_EQ(relaunches[0].options, c.recordedOptions);
        EXPECT_EQ(relaunches[0].target, c.recordedTarget);
    }
}

TEST_F(SystemService, PassesOverWhatIsNotARelaunchRequest) {
    const Id first = relaunchAction("First", 0L, Id());
    const Id second = relaunchAction("Second", 0L, Id());
    send(NSSet::setWithObjects({first.object(), alloc<NSObject>(), second.object()}));
    EXPECT_EQ(SDKEventLog::records<SDKEvents::Relaunch>().size(), 2u);
    SDKEventLog::clear();
    const Id notASet[] = {Id(), Id("RestartRenderServer"), first, NSSet::set()};
    for (const Id& actions : notASet) {
        send(actions);
    }
    EXPECT_TRUE(SDKEventLog::events().empty());
}

} // namespace
