#include <chrono>
#include <limits>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include <Foundation/NSDataLoader.h>
#include <Foundation/NSURL.h>
#include <Foundation/SDKNetworkSettings.h>

#include "LoopbackNetwork.h"

namespace {

constexpr const char* kHost = "avatar.test";

using Answer = LoopbackHTTPSServer::Answer;

std::optional<NSData> read(const std::string& address) {
    return NSDataLoader::dataWithContentsOfURL(NSURL::URLWithString(address));
}

NSData bytes(const std::string& text) {
    return NSData(text.begin(), text.end());
}

class NSDataLoaderTest : public ::testing::Test {
protected:
    LoopbackNetwork network{kHost};
};

} // namespace

TEST_F(NSDataLoaderTest, ReadsTheBodyOrNothing) {
    const struct {
        const char* path;
        Answer answer;
        std::optional<NSData> expected;
    } cases[] = {
        {"/image", Answer::Image, bytes(LoopbackHTTPSServer::pngImage())},
        {"/empty", Answer::Empty, NSData()},
        {"/text", Answer::NotAnImage, bytes("this is not a picture")},
        // The platform hands back the body of any status.
        {"/missing", Answer::NotFound, bytes("Not Found")},
        {"/moved", Answer::RedirectToImage, bytes(LoopbackHTTPSServer::pngImage())},
        {"/loop", Answer::RedirectLoop, std::nullopt},
        {"/huge", Answer::OverCap, std::nullopt},
        {"/huge-chunked", Answer::OverCapChunked, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        network.server->setAnswer(c.path, c.answer);
        EXPECT_EQ(read(std::string("https://") + kHost + c.path), c.expected);
    }
}

TEST_F(NSDataLoaderTest, SendsTheTargetAsGiven) {
    network.server->setAnswer("/twitter/alice", Answer::Image);
    ASSERT_TRUE(read(std::string("https://") + kHost + "/twitter/alice?fallback=false"));
    EXPECT_EQ(network.server->targets(), std::vector<std::string>{"/twitter/alice?fallback=false"});
}

TEST_F(NSDataLoaderTest, FollowsRedirectsUpToTheLimit) {
    network.server->setAnswer("/loop", Answer::RedirectLoop);
    EXPECT_FALSE(read(std::string("https://") + kHost + "/loop"));
    EXPECT_EQ(network.server->targets().size(), NSDataLoader::kMaximumRedirects + 1);
}

TEST_F(NSDataLoaderTest, RefusesCertificatesItDoesNotTrust) {
    const struct {
        const char* name;
        bool untrustedServer;
        bool systemAuthorities;
    } cases[] = {
        {"a certificate from an unknown authority", true, false},
        {"the test authority without the host trusting it", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LoopbackHTTPSServer& server =
            c.untrustedServer ? *network.untrustedServer : *network.server;
        network.routeTo(server);
        SDKNetworkSettings::setCertificateAuthorityFile(
            c.systemAuthorities ? std::nullopt : std::optional(network.authorityFile()));
        server.setAnswer("/image", Answer::Image);
        EXPECT_FALSE(read(std::string("https://") + kHost + "/image"));
        EXPECT_TRUE(server.targets().empty());
    }
}

TEST_F(NSDataLoaderTest, ReadsNothingButHTTPS) {
    network.server->setAnswer("/image", Answer::Image);
    for (const std::string& address :
         {std::string("http://") + kHost + "/image", std::string("ftp://") + kHost + "/image",
          std::string("//") + kHost + "/image", std::string("/image")}) {
        SCOPED_TRACE(address);
        EXPECT_FALSE(read(address));
    }
    EXPECT_FALSE(NSDataLoader::dataWithContentsOfURL(nullptr));
    EXPECT_TRUE(network.server->targets().empty());
}

TEST_F(NSDataLoaderTest, GivesUpOnASilentServerAfterTheTimeLimit) {
    ASSERT_TRUE(SDKNetworkSettings::setRequestTimeout(1));
    network.server->setAnswer("/silent", Answer::Silent);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(read(std::string("https://") + kHost + "/silent"));
    // Well before the server would have let the connection go.
    EXPECT_LT(std::chrono::steady_clock::now() - start, LoopbackHTTPSServer::kSilenceLimit / 2);
}

TEST(SDKNetworkSettings, ChecksRoutes) {
    const struct {
        const char* route;
        bool valid;
    } cases[] = {
        {"unavatar.io:443:127.0.0.1:8443", true},
        {"::127.0.0.1:8443", true},
        {"unavatar.io:443:[::1]:8443", true},
        {"[::1]:443:localhost:", true},
        {"unavatar.io:443:127.0.0.1", false},
        {"unavatar.io:https:127.0.0.1:8443", false},
        {"unavatar.io:443:127.0.0.1:65536", false},
        {"unavatar.io:443:127.0.0.1:0", false},
        {"unavatar.io:443:[::1:8443", false},
        {"una vatar.io:443:127.0.0.1:8443", false},
        {"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.route);
        EXPECT_EQ(SDKNetworkSettings::isValidRoute(c.route), c.valid);
    }
}

TEST(SDKNetworkSettings, RefusesBadSettingsAndResets) {
    SDKNetworkSettings::reset();
    EXPECT_FALSE(SDKNetworkSettings::setConnectTo({"a:1:b:2", "bad"}));
    EXPECT_TRUE(SDKNetworkSettings::current().connectTo.empty());
    EXPECT_FALSE(SDKNetworkSettings::setRequestTimeout(0));
    EXPECT_FALSE(SDKNetworkSettings::setRequestTimeout(-1));
    EXPECT_FALSE(SDKNetworkSettings::setRequestTimeout(std::numeric_limits<double>::infinity()));
    EXPECT_EQ(SDKNetworkSettings::current().requestTimeout, 60);
    EXPECT_TRUE(SDKNetworkSettings::setConnectTo({"a:1:b:2"}));
    EXPECT_TRUE(SDKNetworkSettings::setRequestTimeout(2.5));
    SDKNetworkSettings::setCertificateAuthorityFile("/tmp/ca.pem");
    SDKNetworkSettings::reset();
    const SDKNetworkSettings::Settings settings = SDKNetworkSettings::current();
    EXPECT_TRUE(settings.connectTo.empty());
    EXPECT_FALSE(settings.certificateAuthorityFile);
    EXPECT_EQ(settings.requestTimeout, SDKNetworkSettings::kDefaultRequestTimeout);
}
