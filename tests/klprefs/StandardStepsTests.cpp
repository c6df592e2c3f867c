#include <cstdint>

#include <gtest/gtest.h>

#include <Preferences/Preferences.h>

#include "HostedPage.h"
#include "Script.h"
#include "ScriptRunner.h"

namespace {

// A page with a switch, a segment, a text row, a list link and a link to a
// child page that holds another switch.
struct StepsPage {
    explicit StepsPage(const TemporaryDeviceRoot& root) {
        root.write(
            std::string(HostedPage::kBundlePath) + "/Inner.plist",
            NSPropertyListSerialization::dataWithPropertyList(
                Value(Value::Dictionary{
                    {"items", Value::Array{Value(HostedPage::row("PSSwitchCell", "inner"))}}}),
                NSPropertyListXMLFormat_v1_0));
        page = std::make_unique<HostedPage>(
            root, Value::Array{
                      HostedPage::row("PSSwitchCell", "flag"),
                      HostedPage::row("PSSegmentCell", "mode",
                                      {{"validValues", Value::Array{1, 2}},
                                       {"validTitles", Value::Array{"Slow", "Fast"}}}),
                      HostedPage::row("PSEditTextCell", "name"),
                      HostedPage::row("PSLinkListCell", "theme",
                                      {{"validValues", Value::Array{"light", "dark"}},
                                       {"validTitles", Value::Array{"Light", "Dark"}}}),
                      HostedPage::row("PSLinkCell", "more", {{"id", "Inner"}}),
                  });
    }
    // Runs the script; answers the line of the step that failed, 0 for none.
    size_t run(const std::string& script) {
        try {
            ScriptRunner(*page->host, [](size_t, const std::string&) {}).run(Script::parse(script));
        } catch (const HostError& error) {
            return error.line().value_or(SIZE_MAX);
        }
        return 0;
    }
    std::unique_ptr<HostedPage> page;
};

TEST(StandardSteps, ActOnTheStandardCellsAndExpectWhatTheyStoreAndShow) {
    struct Case {
        const char* script;
        const char* key;
        Value stored;
    };
    const std::vector<Case> cases = {
        {"toggle flag\nexpect flag stored true\nexpect flag shown on\n", "flag", Value(true)},
        {"toggle flag\ntoggle flag\nexpect flag stored false\n", "flag", Value(false)},
        {"segment mode Fast\nexpect mode stored 2\nexpect mode shown Fast\n", "mode", Value(2)},
        {"enter name \"Ada L\"\nexpect name stored \"Ada L\"\n", "name", Value("Ada L")},
        {"tap theme\nchoose Dark\nexpect theme shown Dark\nexpect theme stored dark\n", "theme",
         Value("dark")},
        {"tap more\ntoggle inner\nexpect inner stored true\nback\nexpect flag stored nil\n",
         "inner", Value(true)},
    };
    for (const Case& given : cases) {
        TemporaryDeviceRoot root;
        StepsPage steps(root);
        EXPECT_EQ(steps.run(given.script), 0u) << given.script;
        EXPECT_EQ(steps.page->stored(given.key), given.stored) << given.script;
        EXPECT_EQ(steps.page->host->shownController(), steps.page->controller) << given.script;
    }
}

TEST(StandardSteps, FailAtTheirLineWhenTheyCannotApplyOrAnExpectationIsNotMet) {
    struct Case {
        const char* script;
        size_t line;
    };
    const std::vector<Case> cases = {
        {"expect flag stored true\n", 1},
        {"toggle flag\n\nexpect flag shown off\n", 3},
        {"segment mode Medium\n", 1},
        {"toggle mode\n", 1},
        {"back\n", 1},
        {"choose Dark\n", 1},
        {"tap more\nexpect flag stored nil\n", 2},
        {"expect flag kept true\n", 1},
    };
    for (const Case& given : cases) {
        TemporaryDeviceRoot root;
        StepsPage steps(root);
        EXPECT_EQ(steps.run(given.script), given.line) << given.script;
    }
}

} // namespace
