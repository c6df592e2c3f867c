#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "KlprefsProgram.h"

namespace {

constexpr const char* kFields = "dev, Dev Name,Tweak,2.0,help@example.com,"
                                "https://discord.gg/tweak,https://example.com/give";

// A bundle whose principal class lives in an executable that is not there,
// as a tweak's bundle copied from a device without its binary.
class ControllerAdditionsOptions : public testing::Test {
protected:
    ControllerAdditionsOptions()
        : device({Value::Dictionary{{"cell", "PSSwitchCell"}, {"label", "On"}}}, {}) {
        device.root.write(
            std::string(DeviceWithBundle::kBundle) + "/Info.plist",
            NSPropertyListSerialization::dataWithPropertyList(
                Value(Value::Dictionary{{"CFBundleExecutable", "Tweak"},
                                        {"NSPrincipalClass", "TweakRootListController"}}),
                NSPropertyListXMLFormat_v1_0));
    }

    KlprefsRun run(std::vector<std::string> options, const std::string& script) {
        options.insert(options.begin(), {"--device-root", device.root.path()});
        options.insert(options.end(), {"run", "--json"});
        return runKlprefs(options, script);
    }

    DeviceWithBundle device;
};

std::vector<std::string> texts(const nlohmann::json& views) {
    std::vector<std::string> shown;
    for (const nlohmann::json& view : views) {
        if (view["class"] == "UILabel" && view["text"].is_string()) {
            shown.push_back(view["text"]);
        }
    }
    return shown;
}

TEST_F(ControllerAdditionsOptions, HeaderAndRespringButtonWorkOnAControllerAdditionsOptions) {
    device.root.write("/tmp/header.txt", std::string("dev\nDev, Name\nTweak\n\nhelp@example.com\n"
                                                     "https://discord.gg/tweak\n"
                                                     "https://example.com/give\n"));
    const struct {
        const char* name;
        std::vector<std::string> options;
        std::string script;
        std::vector<std::string> texts;
        const char* opened;
        long launches;
    } cases[] = {
        {"discord from the menu",
         {"--header", kFields, "--respring-button"},
         "tap header class:UIButton:1\nchoose \"Join the Discord\"\n",
         {"Tweak", "Dev Name", "2.0"},
         "https://discord.gg/tweak",
         1},
        {"donate, fields from a file",
         {"--header-file", device.root.host("/tmp/header.txt"), "--respring-button"},
         "tap header class:UIButton:0\n",
         {"Tweak", "Dev, Name"},
         "https://example.com/give",
         1},
        {"respring keeps both",
         {"--respring-button", "--header", kFields},
         "bar right\nbutton Respring\n",
         {"Tweak", "Dev Name", "2.0"},
         nullptr,
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        KlprefsRun result = run(c.options, c.script);
        ASSERT_EQ(result.status, 0) << result.err;
        const nlohmann::json page = result.json();
        EXPECT_EQ(page["page"]["controller"], "PSListController");
        EXPECT_EQ(page["page"]["launches"], c.launches);
        EXPECT_EQ(page["header"]["class"], "KLHeaderView");
        EXPECT_EQ(texts(page["header"]["views"]), c.texts);
        const auto opened = eventsOf(page, "openURL");
        ASSERT_EQ(opened.size(), c.opened ? 1u : 0u);
        if (c.opened) {
            EXPECT_EQ(opened[0]["url"], c.opened);
        }
        EXPECT_EQ(eventsOf(page, "relaunch").size(), c.launches == 2 ? 1u : 0u);
        // The bar names the item the page put there, and shows its symbol.
        const nlohmann::json& bar = page["navigationBar"];
        EXPECT_EQ(bar["leftItems"], nlohmann::json::array());
        ASSERT_EQ(bar["rightItems"].size(), 1u) << bar.dump();
        EXPECT_EQ(bar["rightItems"][0]["class"], "KLRespringButton");
        EXPECT_EQ(bar["rightItems"][0]["symbol"], "gear.badge.checkmark");
        EXPECT_EQ(bar["rightItems"][0]["enabled"], true);
        EXPECT_NE(bar["views"].dump().find("gear.badge.checkmark"), std::string::npos);
    }
}

TEST_F(ControllerAdditionsOptions, BadHeadersAreRefusedWithTheReason) {
    device.root.write("/tmp/six-lines.txt", std::string("a\nb\nc\nd\ne\nf\n"));
    device.root.write("/tmp/latin1.txt", std::string("a\nD\xe9v\nc\nd\ne\nf\ng\n"));
    const struct {
        std::vector<std::string> options;
        std::string message;
    } cases[] = {
        {{"--header", "a,b,c"}, "--header wants 7 fields"},
        {{"--header", "a,b,c,d,e,f,g,h"}, "not 8"},
        {{"--header", "a,D\xe9v,c,d,e,f,g"}, "the developer field is not UTF-8 text"},
        {{"--header-file", device.root.host("/tmp/six-lines.txt")}, "not 6"},
        {{"--header-file", device.root.host("/tmp/latin1.txt")}, "is not UTF-8 text"},
        {{"--header-file", device.root.host("/tmp/missing.txt")}, "cannot read the header file"},
        {{"--header-file", device.root.path()}, "Is a directory"},
        {{"--header", kFields, "--header-file", device.root.host("/tmp/six-lines.txt")},
         "excludes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        KlprefsRun result = run(c.options, "");
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    }
}

} // namespace
