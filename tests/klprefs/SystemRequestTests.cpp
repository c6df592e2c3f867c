#include <filesystem>

#include <gtest/gtest.h>

#include "KlprefsProgram.h"

namespace {

Value::Dictionary repoRow(Value::Dictionary extra = {}) {
    Value::Dictionary row{{"cell", "PSTableCell"}, {"cellClass", "KLRepoCell"}, {"title", "Repo"}};
    for (auto& [key, value] : extra) {
        row[key] = value;
    }
    return row;
}

TEST(KlprefsBrowser, TheRepositoryRowOpensTheBrowserAndDoneClosesIt) {
    struct Case {
        const char* script;
        size_t presented;
    };
    const Case cases[] = {
        {"tap Repo class:KLRepoCellButton\n", 1},
        {"tap Repo class:KLRepoCellButton\nbutton Done\n", 0},
        {"tap Repo class:KLRepoCellButton\ndismiss\n", 0},
        {"tap Repo class:KLRepoCellButton\nbutton Done\ntap Repo class:KLRepoCellButton\n", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        DeviceWithBundle device({repoRow({{"link", "https://example.org/tweak"}})}, {});
        KlprefsRun run = runKlprefs(with(device.options(), {"run", "--json"}), c.script);
        ASSERT_EQ(run.status, 0) << run.err;
        const nlohmann::json page = run.json();
        ASSERT_EQ(page["presented"].size(), c.presented);
        if (c.presented) {
            EXPECT_EQ(page["presented"][0]["kind"], "browser");
            EXPECT_EQ(page["presented"][0]["url"], "https://example.org/tweak");
        }
        const auto presents = eventsOf(page, "present");
        ASSERT_FALSE(presents.empty());
        EXPECT_EQ(presents[0]["class"], "SFSafariViewController");
        EXPECT_EQ(presents[0]["title"], "https://example.org/tweak");
    }
}

// A bundle whose executable's controller puts a respring button in the bar.
class Respring : public testing::Test {
protected:
    Respring()
        : device({Value::Dictionary{{"cell", "PSTableCell"},
                                    {"cellClass", "KLStepperCell"},
                                    {"title", "Count"},
                                    {"key", "count"},
                                    {"defaults", "com.example.test"},
                                    {"max", 10}}},
                 {{"count", 3.0}}) {
        std::filesystem::copy_file(
            KL_RESPRING_CONTROLLER,
            device.root.host(std::string(DeviceWithBundle::kBundle) + "/Test"));
    }

    void useController(const char* principal) {
        device.root.write(std::string(DeviceWithBundle::kBundle) + "/Info.plist",
                          NSPropertyListSerialization::dataWithPropertyList(
                              Value(Value::Dictionary{{"CFBundleExecutable", "Test"},
                                                      {"NSPrincipalClass", principal}}),
                              NSPropertyListXMLFormat_v1_0));
    }
    void installKillall() {
        device.root.write("/usr/bin/killall", std::string("#!/bin/sh\n"));
        std::filesystem::permissions(device.root.host("/usr/bin/killall"),
                                     std::filesystem::perms::owner_all);
    }

    DeviceWithBundle device;
};

TEST_F(Respring, ChoosingRespringRebuildsThePageFromWhatIsStored) {
    struct Case {
        const char* controller;
        bool killall;
        std::vector<std::string> extra;
        size_t relaunches;
        size_t spawns;
        long launches;
    };
    const Case cases[] = {
        {"RespringListController", false, {}, 1, 0, 2},
        {"RespringListController", false, {"--without-private-frameworks"}, 0, 0, 1},
        {"InAppRespringListController", true, {}, 0, 1, 2},
        // Without /usr/bin/killall on the device nothing starts and nothing restarts.
        {"InAppRespringListController", false, {}, 0, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.controller + std::string(c.killall ? " with killall" : "") +
                     (c.extra.empty() ? "" : " " + c.extra[0]));
        std::filesystem::remove(device.root.host("/usr/bin/killall"));
        NSPropertyListSerialization::writePropertyList(Value(Value::Dictionary{{"count", 3.0}}),
                                                       DeviceWithBundle::kDomainFile,
                                                       NSPropertyListXMLFormat_v1_0);
        if (c.killall) {
            installKillall();
        }
        useController(c.controller);
        std::vector<std::string> arguments = with(device.options(), c.extra);
        KlprefsRun run = runKlprefs(with(arguments, {"run", "--json"}),
                                    "press Count plus\nbar right\nbutton Respring\n");
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        const nlohmann::json page = run.json();
        EXPECT_EQ(page["page"]["controller"], c.controller);
        EXPECT_EQ(page["page"]["launches"], c.launches);
        EXPECT_TRUE(page["presented"].empty());
        const auto relaunches = eventsOf(page, "relaunch");
        ASSERT_EQ(relaunches.size(), c.relaunches);
        for (const nlohmann::json& relaunch : relaunches) {
            EXPECT_EQ(relaunch["reason"], "RestartRenderServer");
            EXPECT_EQ(relaunch["options"], 4);
            EXPECT_TRUE(relaunch["target"].is_null());
        }
        const auto spawns = eventsOf(page, "spawn");
        ASSERT_EQ(spawns.size(), c.spawns);
        for (const nlohmann::json& spawn : spawns) {
            EXPECT_EQ(spawn["path"], "/usr/bin/killall");
            EXPECT_EQ(spawn["arguments"], nlohmann::json({"killall", "-9", "backboardd"}));
        }
        // The row, built anew or not, shows what was stored before the restart.
        EXPECT_EQ(page["domains"]["com.example.test"]["count"], 4.0);
        bool shown = false;
        for (const nlohmann::json& view : page["rows"][0]["views"]) {
            shown = shown || (view.contains("text") && view["text"] == "4.0");
        }
        EXPECT_TRUE(shown);
    }
}

TEST_F(Respring, TheMenuHoldsOnlyRespringAndClosingItRestartsNothing) {
    useController("RespringListController");
    KlprefsRun run = runKlprefs(with(device.options(), {"run", "--json"}), "bar right\n");
    ASSERT_EQ(run.status, 0) << run.err;
    nlohmann::json page = run.json();
    ASSERT_EQ(page["presented"].size(), 1u);
    EXPECT_EQ(page["presented"][0]["kind"], "menu");
    ASSERT_EQ(page["presented"][0]["actions"].size(), 1u);
    EXPECT_EQ(page["presented"][0]["actions"][0]["title"], "Respring");

    run = runKlprefs(with(device.options(), {"run", "--json"}), "bar right\ndismiss\n");
    ASSERT_EQ(run.status, 0) << run.err;
    page = run.json();
    EXPECT_TRUE(page["presented"].empty());
    EXPECT_EQ(page["page"]["launches"], 1);
    EXPECT_TRUE(eventsOf(page, "relaunch").empty());
    EXPECT_TRUE(eventsOf(page, "spawn").empty());
}

} // namespace
