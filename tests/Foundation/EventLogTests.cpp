#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <Foundation/SDKEventLog.h>

namespace {

// A listener hears each event as it is recorded, on the recording thread,
// with the event already in the log, until its subscription goes.
TEST(SDKEventLog, SubscribersHearEachEventAsItIsRecorded) {
    SDKEventLog::clear();
    SDKEventLog::record(SDKEvents::Animation{0.1});
    std::vector<SDKEvent> heard;
    std::vector<size_t> logged;
    SDKEventLog::Subscription subscription = SDKEventLog::subscribe([&](const SDKEvent& event) {
        heard.push_back(event);
        logged.push_back(SDKEventLog::count());
    });
    SDKEventLog::record(SDKEvents::Present{{"UIAlertController", std::nullopt, true}, "UIView"});
    std::thread([] { SDKEventLog::logError("from a worker"); }).join();
    subscription.reset();
    SDKEventLog::record(SDKEvents::Notification{"after"});
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(std::get<SDKEvents::Present>(heard[0]).className, "UIAlertController");
    EXPECT_EQ(std::get<SDKEvents::Error>(heard[1]).message, "from a worker");
    EXPECT_EQ(logged, (std::vector<size_t>{2, 3}));
    EXPECT_EQ(SDKEventLog::count(), 4u);
    // A reader picks one kind out of what was recorded from a point on.
    EXPECT_EQ(SDKEventLog::records<SDKEvents::Notification>(1).at(0).name, "after");
    EXPECT_TRUE(SDKEventLog::records<SDKEvents::Animation>(1).empty());
    SDKEventLog::clear();
}

} // namespace
