#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Foundation/NSURL.h>
#include <Foundation/SDKEventLog.h>
#include <Foundation/dispatch.h>
#include <UIKit/UIApplication.h>

TEST(UIApplication, RecordsEachAddressAndOpensNothing) {
    const struct {
        std::optional<std::string> address;
        bool handedOver;
    } cases[] = {
        {"https://twitter.com/alice", true},
        {"https://discord.gg/invite", true},
        {"mailto:a@b.c", true},
        {std::nullopt, false},
        {"not an address", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.address.value_or("(nil)"));
        SDKEventLog::clear();
        DispatchMainQueue::drain();
        Ref<NSURL> url = NSURL::URLWithStringEncodingInvalidCharacters(c.address, false);
        std::vector<bool> completions;
        UIApplication::sharedApplication()->openURL(
            url, {}, [&](bool success) { completions.push_back(success); });
        // The completion waits for the main queue.
        EXPECT_TRUE(completions.empty());
        DispatchMainQueue::drain();
        EXPECT_EQ(completions, std::vector<bool>{c.handedOver});
        const auto opened = SDKEventLog::records<SDKEvents::OpenURL>();
        if (c.handedOver) {
            ASSERT_EQ(opened.size(), 1u);
            EXPECT_EQ(opened[0].url, *c.address);
        } else {
            EXPECT_TRUE(opened.empty());
        }
    }
}

TEST(UIApplication, IsOneObject) {
    EXPECT_EQ(UIApplication::sharedApplication(), UIApplication::sharedApplication());
    SDKEventLog::clear();
    UIApplication::sharedApplication()->openURL(NSURL::URLWithString("https://example.com/"), {},
                                                nullptr);
    EXPECT_EQ(SDKEventLog::records<SDKEvents::OpenURL>().size(), 1u);
}
