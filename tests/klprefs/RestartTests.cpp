#include <filesystem>

#include <gtest/gtest.h>

#include <Foundation/SDKNetworkSettings.h>
#include <MessageUI/SDKMailAccount.h>
#include <UIKit/UINavigationController.h>

#include "HostDevice.h"
#include "HostedPage.h"
#include "KLRespringButton.h"

namespace {

TEST(HostDevice, KnowsWhichRequestsRestartTheUserInterface) {
    const std::string killall = "/usr/bin/killall";
    auto spawn = [](std::string path, std::vector<std::string> arguments, bool started) {
        return SDKEvents::Spawn{std::move(path), std::move(arguments), std::nullopt,
                                started ? std::optional<pid_t>(1000) : std::nullopt,
                                started ? std::nullopt : std::optional<std::string>("ENOENT")};
    };
    struct Case {
        SDKEvent request;
        bool restarts;
    };
    const Case cases[] = {
        {SDKEvents::Relaunch{"RestartRenderServer", 4, std::nullopt}, true},
        {spawn(killall, {"killall", "-9", "backboardd"}, true), true},
        {spawn("/var/jb/usr/bin/killall", {"killall", "SpringBoard"}, true), true},
        {spawn(killall, {"killall", "-9", "backboardd"}, false), false},
        {spawn(killall, {"killall", "-9", "Preferences"}, true), false},
        {spawn(killall, {"backboardd"}, true), false},
        {spawn("/bin/kill", {"kill", "backboardd"}, true), false},
        {SDKEvents::OpenURL{"https://example.com"}, false},
        {SDKEvents::Present{{"SFSafariViewController", std::nullopt, true}, "PSListController"},
         false},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(HostDevice::restartsUserInterface(cases[i].request), cases[i].restarts) << i;
    }
}

TEST(PageHost, ARespringBuildsThePageAnewOnce) {
    TemporaryDeviceRoot root;
    root.write("/usr/bin/killall", std::string("#!/bin/sh\n"));
    std::filesystem::permissions(root.host("/usr/bin/killall"), std::filesystem::perms::owner_all);
    HostedPage page(root, {Value::Dictionary{{"cell", "PSTableCell"}, {"label", "Row"}}});
    const Ref<PSListController> first = page.host->controller();
    EXPECT_EQ(page.host->launches(), 1u);
    EXPECT_FALSE(page.host->relaunchIfRestarted());

    auto button = alloc<KLRespringButton>()->init();
    button->setInApp(true);
    button->respring();
    EXPECT_TRUE(page.host->relaunchIfRestarted());
    EXPECT_EQ(page.host->launches(), 2u);
    EXPECT_NE(page.host->controller(), first);
    EXPECT_EQ(page.host->rows().size(), 1u);
    EXPECT_EQ(page.host->window()->rootViewController(), page.host->navigationController());
    // The request has had its effect.
    EXPECT_FALSE(page.host->relaunchIfRestarted());
    EXPECT_EQ(page.host->launches(), 2u);
}

// The device's network, mail account and libraries come from the one
// settings value; a setting left out leaves the process's own.
TEST(HostDevice, SettingsSetTheNetworkMailAccountAndLibraries) {
    TemporaryDeviceRoot root;
    HostDevice::Settings settings;
    settings.deviceRoot = root.path();
    settings.network = HostDevice::Network{{"example.com:443:127.0.0.1:8443"}, "/tmp/ca.pem"};
    settings.mailAccount = HostDevice::MailAccount{false, true};
    settings.libraries = {{"libnothing", root.host("/libnothing.so"), "nothing works"}};
    const std::vector<std::string> failures = HostDevice::configure(settings);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].rfind("could not load libnothing, so nothing works: ", 0), 0u);
    EXPECT_EQ(SDKNetworkSettings::current().connectTo,
              std::vector<std::string>{"example.com:443:127.0.0.1:8443"});
    EXPECT_EQ(SDKNetworkSettings::current().certificateAuthorityFile, "/tmp/ca.pem");
    EXPECT_FALSE(SDKMailAccount::isConfigured());
    EXPECT_TRUE(SDKMailAccount::sendingFails());

    HostDevice::Settings untouched;
    untouched.deviceRoot = root.path();
    EXPECT_TRUE(HostDevice::configure(untouched).empty());
    EXPECT_EQ(SDKNetworkSettings::current().certificateAuthorityFile, "/tmp/ca.pem");
    EXPECT_FALSE(SDKMailAccount::isConfigured());

    untouched.network = HostDevice::Network{{"no route"}, std::nullopt};
    EXPECT_THROW(HostDevice::configure(untouched), HostError);
    SDKNetworkSettings::reset();
    SDKMailAccount::reset();
}

} // namespace
