#include <gtest/gtest.h>

#include "KlprefsProgram.h"
#include "ScriptRunner.h"

namespace {

constexpr const char* kPreferences = "/var/mobile/Library/Preferences/";

Value::Dictionary stepperRow(const std::string& defaults) {
    return {{"cell", "PSTableCell"},
            {"cellClass", "KLStepperCell"},
            {"title", "Count"},
            {"key", "count"},
            {"defaults", defaults},
            {"min", 0},
            {"max", 1000}};
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(KlprefsOutcomes, AValueThatCannotBeStoredFailsTheRun) {
    struct Case {
        const char* name;
        std::string defaults;
        std::function<void(TemporaryDeviceRoot&)> spoil;
        int status;
    };
    const Case cases[] = {
        {"a domain that stores", "com.example.fine", [](TemporaryDeviceRoot&) {}, 0},
        {"a corrupt domain file", "com.example.corrupt",
         [](TemporaryDeviceRoot& root) {
             root.write(std::string(kPreferences) + "com.example.corrupt.plist", "<plist><dict>");
         },
         5},
        {"a folder in the domain file's place", "com.example.folder",
         [](TemporaryDeviceRoot& root) {
             root.makeFolder(std::string(kPreferences) + "com.example.folder.plist");
         },
         5},
        {"a name too long for a file", std::string(300, 'n'), [](TemporaryDeviceRoot&) {}, 5},
        {"a name that is a path", "../escape", [](TemporaryDeviceRoot&) {}, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceWithBundle device({stepperRow(c.defaults)}, {});
        c.spoil(device.root);
        KlprefsRun run = runKlprefs(with(device.options(), {"run", "--json"}),
                                    "press Count plus\npress Count plus\n");
        EXPECT_EQ(run.status, c.status) << run.err;
        // The steps all ran and the page is still described.
        const nlohmann::json page = run.json();
        size_t failed = 0;
        for (const nlohmann::json& event : page["events"]) {
            failed += event["kind"] == "storeFailed" && event["key"] == "count";
        }
        if (c.status == 0) {
            EXPECT_EQ(run.err, "");
            EXPECT_EQ(failed, 0u);
            EXPECT_EQ(page["domains"][c.defaults]["count"], 2.0);
        } else {
            EXPECT_EQ(failed, 2u);
            EXPECT_TRUE(contains(run.err, "PSListController: could not store count")) << run.err;
            EXPECT_TRUE(contains(run.err, "klprefs: 2 values could not be stored")) << run.err;
        }
    }
}

TEST(KlprefsOutcomes, AHoldLongerThanAPersonCouldIsRefused) {
    const std::string beyond = std::to_string(ScriptRunner::kMaximumHoldRepeats + 1);
    struct Case {
        std::string count;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {"3", 0, ""},
        {beyond, 1, "is longer than a person holds a button"},
        {"1000000", 1, "is longer than a person holds a button"},
        {"184467440737095516160", 1, "is longer than a person holds a button"},
        {"-1", 1, "press is written press ROW minus|plus [hold N]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        DeviceWithBundle device({stepperRow("com.example.test")}, {});
        KlprefsRun run =
            runKlprefs(with(device.options(), {"run"}), "press Count plus hold " + c.count + "\n");
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_TRUE(contains(run.err, c.message)) << run.err;
        if (c.status == 0) {
            // One press and the repeats, each a step of 1.
            EXPECT_EQ(device.stored()["count"], Value(1.0 + std::stod(c.count)));
        } else {
            EXPECT_TRUE(device.stored()["count"].isNil());
        }
    }
}

TEST(KlprefsOutcomes, MessagesNameWhatWentWrongAndWhy) {
    struct Case {
        const char* name;
        Value::Array items;
        std::function<std::vector<std::string>(DeviceWithBundle&)> arguments;
        std::string input;
        int status;
        std::vector<std::string> messages;
    };
    const Value::Array usable = {stepperRow("com.example.test")};
    const Case cases[] = {
        {"every item unusable",
         {Value(1), Value("row"), Value(Value::Array{})},
         [](DeviceWithBundle&) { return std::vector<std::string>{"dump"}; },
         "",
         3,
         {"the page has no row to show", "item 0 of", "item 1 of", "item 2 of",
          "is not a dictionary"}},
        {"a folder as the script",
         usable,
         [](DeviceWithBundle& d) {
             return std::vector<std::string>{"run", d.root.path()};
         },
         "",
         2,
         {"cannot read the script", "Is a directory"}},
        {"a missing script",
         usable,
         [](DeviceWithBundle& d) {
             return std::vector<std::string>{"run", d.root.path() + "/none.script"};
         },
         "",
         2,
         {"none.script: No such file or directory"}},
        {"a NUL in a step's text",
         usable,
         [](DeviceWithBundle&) { return std::vector<std::string>{"run"}; },
         std::string("tap \"a\0b\"\n", 10),
         1,
         {"<stdin>:1: no row with the label \"a\\0b\""}},
        {"a PNG into a folder",
         usable,
         [](DeviceWithBundle& d) {
             return std::vector<std::string>{"render", "-o", d.root.path()};
         },
         "",
         4,
         {"Is a directory"}},
        {"a PNG into a missing folder",
         usable,
         [](DeviceWithBundle& d) {
             return std::vector<std::string>{"render", "-o", d.root.path() + "/no/page.png"};
         },
         "",
         4,
         {"/no/page.png: No such file or directory"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeviceWithBundle device(c.items, {});
        KlprefsRun run = runKlprefs(with(device.options(), c.arguments(device)), c.input);
        EXPECT_EQ(run.status, c.status) << run.err;
        for (const std::string& message : c.messages) {
            EXPECT_TRUE(contains(run.err, message)) << message << " not in " << run.err;
        }
        EXPECT_TRUE(device.stored()["count"].isNil());
    }
}

TEST(KlprefsOutcomes, APrincipalClassThatIsNoListControllerIsNamedAsSuch) {
    DeviceWithBundle device({stepperRow("com.example.test")}, {});
    device.root.write(std::string(DeviceWithBundle::kBundle) + "/Info.plist",
                      NSPropertyListSerialization::dataWithPropertyList(
                          Value(Value::Dictionary{{"NSPrincipalClass", "KLStepperCell"}}),
                          NSPropertyListXMLFormat_v1_0));
    KlprefsRun run = runKlprefs(with(device.options(), {"dump"}));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(contains(run.err, "KLStepperCell is not a list controller")) << run.err;
    EXPECT_FALSE(contains(run.err, "not found")) << run.err;
    EXPECT_EQ(run.json()["page"]["controller"], "PSListController");
}

// A dump describes a long page row by row, making each row's cell only as it
// comes to it; it prints what the whole page shows, byte for byte, a row far
// below the screen whose cell class is missing (and its warning) included.
TEST(KlprefsOutcomes, ADumpPrintsWhatTheWholePageShows) {
    Value::Array items(60, Value(stepperRow("com.example.test")));
    items.emplace_back(Value::Dictionary{
        {"cell", "PSTableCell"}, {"cellClass", "KLMissingCell"}, {"label", "Far down"}});
    items.emplace_back(stepperRow("com.example.test"));
    DeviceWithBundle device(items, {{"count", 7}});
    const KlprefsRun dump = runKlprefs(with(device.options(), {"dump"}));
    const KlprefsRun whole = runKlprefs(with(device.options(), {"run", "--json"}));
    ASSERT_EQ(dump.status, 0) << dump.err;
    EXPECT_EQ(dump.out, whole.out);
    EXPECT_TRUE(contains(dump.err, "\"KLMissingCell\" not found")) << dump.err;
    EXPECT_EQ(dump.json()["rows"].size(), 62u);
}

TEST(KlprefsOutcomes, APageTooLargeForMemoryIsRefusedBeforeItLoads) {
    Value::Array items(PageHost::kMaximumRows + 1, Value(stepperRow("com.example.test")));
    DeviceWithBundle device(items, {});
    KlprefsRun run = runKlprefs(with(device.options(), {"dump"}));
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_TRUE(contains(run.err, "has " + std::to_string(PageHost::kMaximumRows + 1) +
                                      " rows; a page shows at most"))
        << run.err;
    EXPECT_EQ(run.out, "");
}

} // namespace
