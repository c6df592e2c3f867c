#include <gtest/gtest.h>

#include <Foundation/NSException.h>
#include <Foundation/NSURL.h>
#include <SafariServices/SFSafariViewController.h>
#include <SafariServices/SFSafariViewControllerDelegate.h>

namespace {

TEST(SafariViewController, TakesOnlyWebAddresses) {
    struct Case {
        const char* address;
        bool accepted;
    };
    const Case cases[] = {
        {"https://repo.example.com", true},    {"http://example.com/page", true},
        {"HTTPS://EXAMPLE.COM", true},         {"https://", true},
        {"mailto:someone@example.com", false}, {"file:///var/mobile", false},
        {"ftp://example.com", false},          {"example.com", false},
        {"javascript:alert(1)", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        Ref<NSURL> url = NSURL::URLWithString(std::string(c.address));
        ASSERT_NE(url, nullptr);
        auto browser = alloc<SFSafariViewController>();
        if (c.accepted) {
            ASSERT_EQ(browser->initWithURL(url), browser);
            EXPECT_EQ(browser->title(), c.address);
        } else {
            try {
                browser->initWithURL(url);
                ADD_FAILURE() << "no exception";
            } catch (const NSException& exception) {
                EXPECT_EQ(exception.name(), NSInvalidArgumentException);
            }
        }
    }
}

TEST(SafariViewController, RefusesANilAddress) {
    try {
        alloc<SFSafariViewController>()->initWithURL(nullptr);
        ADD_FAILURE() << "no exception";
    } catch (const NSException& exception) {
        EXPECT_EQ(exception.name(), NSInvalidArgumentException);
    }
}

struct Listener : SFSafariViewControllerDelegate {};

TEST(SafariViewController, HoldsItsDelegateWeakly) {
    auto browser = alloc<SFSafariViewController>()->initWithURL(
        NSURL::URLWithString(std::string("https://example.com")));
    auto listener = std::make_shared<Listener>();
    browser->setDelegate(listener);
    EXPECT_EQ(browser->delegate(), listener);
    listener.reset();
    EXPECT_EQ(browser->delegate(), nullptr);
}

} // namespace
