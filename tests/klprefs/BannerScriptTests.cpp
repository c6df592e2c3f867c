#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "KlprefsProgram.h"
#include "LoopbackNetwork.h"

namespace {

using Answer = LoopbackHTTPSServer::Answer;

// The header's views of a class, in order.
std::vector<nlohmann::json> headerViews(const nlohmann::json& page, const std::string& cls) {
    std::vector<nlohmann::json> views;
    for (const nlohmann::json& view : page["header"]["views"]) {
        if (view["class"] == cls) {
            views.push_back(view);
        }
    }
    return views;
}

std::vector<std::string> opened(const nlohmann::json& page) {
    std::vector<std::string> addresses;
    for (const nlohmann::json& event : page["events"]) {
        if (event["kind"] == "openURL") {
            addresses.push_back(event["url"]);
        }
    }
    return addresses;
}

constexpr const char* kMore = "tap header class:UIButton:1\n";

} // namespace

TEST(KlprefsBanner, TheExampleShowsItsBannerAndReadsTheAvatarThroughTheHostsRoute) {
    LoopbackNetwork network(KL_AVATAR_HOST);
    network.server->setAnswer("/twitter/example", Answer::Image);
    KlprefsRun run = runKlprefs({"--connect-to", network.server->routeFor(KL_AVATAR_HOST),
                                 "--cacert", network.authorityFile(), "dump"});
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json page = run.json();
    EXPECT_EQ(page["page"]["controller"], "DemoListController");
    EXPECT_EQ(page["header"]["class"], "KLHeaderView");
    EXPECT_EQ(network.server->targets(),
              std::vector<std::string>{"/twitter/example?fallback=false"});
    const std::vector<nlohmann::json> icons = headerViews(page, "UIImageView");
    ASSERT_FALSE(icons.empty());
    EXPECT_EQ(icons[0]["image"], (nlohmann::json{{"width", 4.0}, {"height", 4.0}}));
    const std::vector<nlohmann::json> labels = headerViews(page, "UILabel");
    std::vector<std::string> texts;
    for (const nlohmann::json& label : labels) {
        // The buttons' empty title labels show nothing.
        if (label["text"].is_string()) {
            texts.push_back(label["text"]);
        }
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"Demo", "Example Dev", "1.2"}));
}

TEST(KlprefsBanner, ScriptsUseEveryPartOfTheBanner) {
    const struct {
        const char* name;
        std::vector<std::string> options;
        std::string script;
        std::vector<std::string> opened;
        nlohmann::json presented;
    } cases[] = {
        {"author button",
         {},
         "tap header class:KLMultiPurposeButton\n",
         {"https://twitter.com/example"},
         nlohmann::json::array()},
        {"donate button",
         {},
         "tap header class:UIButton:0\n",
         {"https://example.com/donate"},
         nlohmann::json::array()},
        {"Discord item",
         {},
         std::string(kMore) + "choose \"Join the Discord\"\n",
         {"https://discord.gg/example"},
         nlohmann::json::array()},
        {"Follow on Twitter",
         {},
         std::string(kMore) + "choose \"Follow on Twitter\"\n",
         {"https://twitter.com/example"},
         nlohmann::json::array()},
        {"the open menu", {}, kMore, {}, nlohmann::json::array()},
        {"share sheet", {}, std::string(kMore) + "choose Share\n", {}, nlohmann::json::array()},
        {"share sheet closed",
         {},
         std::string(kMore) + "choose Share\ndismiss\n",
         {},
         nlohmann::json::array()},
        {"mail composer",
         {},
         std::string(kMore) + "choose \"Email support\"\n",
         {},
         nlohmann::json::array()},
        {"mail saved",
         {},
         std::string(kMore) + "choose \"Email support\"\nbutton Cancel\n" +
             "button \"Save Draft\"\n",
         {},
         nlohmann::json::array()},
        {"no mail account",
         {"--no-mail-account"},
         std::string(kMore) + "choose \"Email support\"\n",
         {},
         nlohmann::json::array()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        KlprefsRun run = runKlprefs(with(c.options, {"run", "-", "--json"}), c.script);
        ASSERT_EQ(run.status, 0) << run.err;
        const nlohmann::json page = run.json();
        EXPECT_EQ(opened(page), c.opened);
        const nlohmann::json& presented = page["presented"];
        const std::string name = c.name;
        if (name == "the open menu") {
            ASSERT_EQ(presented.size(), 1u);
            EXPECT_EQ(presented[0]["kind"], "menu");
            EXPECT_EQ(presented[0]["title"], "Demo");
            std::vector<std::pair<std::string, std::string>> items;
            for (const nlohmann::json& action : presented[0]["actions"]) {
                items.emplace_back(action["title"], action["symbol"]);
            }
            EXPECT_EQ(items, (std::vector<std::pair<std::string, std::string>>{
                                 {"Share", "square.and.arrow.up"},
                                 {"Follow on Twitter", "person.crop.circle.badge.plus"},
                                 {"Email support", "envelope"},
                                 {"Join the Discord", "bubble.left.and.bubble.right"}}));
        } else if (name == "share sheet") {
            ASSERT_EQ(presented.size(), 1u);
            EXPECT_EQ(presented[0]["kind"], "shareSheet");
            EXPECT_EQ(
                presented[0]["items"],
                nlohmann::json::array({"I'm using an awesome tweak called Demo by Example Dev!"}));
        } else if (name == "mail composer") {
            ASSERT_EQ(presented.size(), 1u);
            EXPECT_EQ(presented[0]["kind"], "mailComposer");
            EXPECT_EQ(presented[0]["subject"], "Demo Support");
            EXPECT_EQ(presented[0]["toRecipients"], nlohmann::json::array({"support@example.com"}));
        } else {
            EXPECT_EQ(presented, c.presented);
        }
        bool saved = false;
        for (const nlohmann::json& event : page["events"]) {
            saved = saved || (event["kind"] == "mailComposeResult" && event["result"] == 1);
        }
        EXPECT_EQ(saved, name == "mail saved");
    }
}

TEST(KlprefsBanner, StepsThatCannotApplySayWhy) {
    const struct {
        std::string script;
        std::string message;
    } cases[] = {
        {"choose Share\n", "no menu is presented"},
        {std::string(kMore) + "choose Nothing\n", "the menu has no item \"Nothing\""},
        {std::string(kMore) + "choose \"Email support\"\ndismiss\n", "the mail composer closes"},
        {std::string(kMore) + "choose \"Email support\"\nbutton \"Save Draft\"\n",
         "has no button \"Save Draft\""},
        {"tap header class:UISlider\n", "the header has 0 views of class \"UISlider\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        KlprefsRun run = runKlprefs({"run", "-"}, c.script);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
}

TEST(KlprefsBanner, RefusesMalformedRoutes) {
    KlprefsRun run = runKlprefs({"--connect-to", "unavatar.io:443", "dump"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("--connect-to: wants HOST:PORT:CONNECT-HOST:CONNECT-PORT"),
              std::string::npos)
        << run.err;
}
