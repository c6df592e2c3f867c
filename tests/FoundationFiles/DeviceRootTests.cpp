#include <gtest/gtest.h>

#include <Foundation/DeviceRoot.h>

#include "TemporaryDeviceRoot.h"

namespace {

class DeviceRootLinks : public testing::Test {
protected:
    TemporaryDeviceRoot root;

    void SetUp() override {
        root.makeFolder("/var/containers/jb");
        root.makeFolder("/usr/lib");
        root.write("/etc/hosts", std::string("device"));
    }
};

TEST_F(DeviceRootLinks, ResolvesPathsInsideTheRoot) {
    root.link("/var/jb", "/var/containers/jb");        // absolute: re-rooted
    root.link("/var/lib", "../usr/lib");               // relative to its folder
    root.link("/var/escape", "../../../../../../etc"); // ".." stops at the root
    root.link("/var/chain", "/var/jb");                // a link to a link
    root.link("/var/containers/jb/up", "..");          // a link back up
    const std::string base = root.path();
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/", base},
        {"/var/jb", base + "/var/containers/jb"},
        {"/var/jb/", base + "/var/containers/jb/"},
        {"/var/jb/Library/x.png", base + "/var/containers/jb/Library/x.png"},
        {"/var/lib/libz.so", base + "/usr/lib/libz.so"},
        {"/var/escape/hosts", base + "/etc/hosts"},
        {"/../../../etc/hosts", base + "/etc/hosts"},
        {"/var/./jb/../jb", base + "/var/containers/jb"},
        {"/var/chain/up/jb", base + "/var/containers/jb"},
        {"//var///jb", base + "/var/containers/jb"},
        {"/missing/../var/jb", base + "/var/containers/jb"},
        {"/missing/deeper", base + "/missing/deeper"},
    };
    for (const auto& [device, host] : cases) {
        EXPECT_EQ(DeviceRoot::hostPathFor(device), host) << device;
    }
}

TEST_F(DeviceRootLinks, AFinalLinkIsFollowedOnlyWhenAsked) {
    root.link("/var/jb", "/var/containers/jb");
    EXPECT_EQ(DeviceRoot::hostPathFor("/var/jb", false), root.path() + "/var/jb");
    // A trailing slash names the folder behind the link, as the kernel reads it.
    EXPECT_EQ(DeviceRoot::hostPathFor("/var/jb/", false), root.path() + "/var/containers/jb/");
}

TEST_F(DeviceRootLinks, LoopsGiveUpAfterFortyLinks) {
    root.link("/loop/a", "/loop/b");
    root.link("/loop/b", "a");
    root.link("/loop/self", "self");
    EXPECT_EQ(DeviceRoot::hostPathFor("/loop/a"), "");
    EXPECT_EQ(DeviceRoot::hostPathFor("/loop/self/x"), "");
    // The loop is only met when followed.
    EXPECT_EQ(DeviceRoot::hostPathFor("/loop/a", false), root.path() + "/loop/a");

    // A chain of exactly forty links still resolves; forty-one does not.
    for (int i = 0; i < 41; ++i) {
        root.link("/chain/" + std::to_string(i), "/chain/" + std::to_string(i + 1));
    }
    root.makeFolder("/chain/41");
    EXPECT_EQ(DeviceRoot::hostPathFor("/chain/1"), root.path() + "/chain/41");
    EXPECT_EQ(DeviceRoot::hostPathFor("/chain/0"), "");
}

TEST(DeviceRoot, SetPathNormalisesTheFolder) {
    const std::string previous = DeviceRoot::path();
    DeviceRoot::setPath("/tmp/some//root/");
    EXPECT_EQ(DeviceRoot::path(), "/tmp/some/root");
    EXPECT_EQ(DeviceRoot::hostPathFor("/a/b"), "/tmp/some/root/a/b");
    DeviceRoot::setPath("/");
    EXPECT_EQ(DeviceRoot::hostPathFor("/proc/self/.."), "/proc");
    DeviceRoot::setPath(previous);
}

} // namespace
