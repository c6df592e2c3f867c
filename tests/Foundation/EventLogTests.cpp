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
    SDKEventLog::record("before");
    std::vector<std::string> heard;
    std::vector<size_t> logged;
    SDKEventLog::Subscription subscription = SDKEventLog::subscribe([&](const SDKEvent& event) {
        heard.push_back(event.kind);
        logged.push_back(SDKEventLog::count());
    });
    SDKEventLog::record("present", {{"class", "UIAlertController"}});
    std::thread([] { SDKEventLog::logError("from a worker"); }).join();
    subscription.reset();
    SDKEventLog::record("after");
    EXPECT_EQ(heard, (std::vector<std::string>{"present", "error"}));
    EXPECT_EQ(logged, (std::vector<size_t>{2, 3}));
    EXPECT_EQ(SDKEventLog::count(), 4u);
    SDKEventLog::clear();
}

} // namespace
