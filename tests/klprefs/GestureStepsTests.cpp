#include <gtest/gtest.h>

#include <Preferences/Preferences.h>
#include <UIKit/UISegmentedControl.h>
#include <UIKit/UISlider.h>
#include <UIKit/UISwitch.h>
#include <UIKit/UITextField.h>

#include "HostedPage.h"
#include "Script.h"
#include "ScriptRunner.h"
#include "serve/GestureSteps.h"
#include "serve/ScriptRecorder.h"

namespace {

// Where a view of a row lies in the window, and its middle.
CGRect inWindow(const Ref<UIView>& view) {
    return view->convertRectToView(view->bounds(), nullptr);
}
CGPoint middleOf(const CGRect& rect) {
    return CGPointMake(CGRectGetMidX(rect), CGRectGetMidY(rect));
}

TEST(GestureSteps, ClicksAndDragsBecomeTheStepsThatRepeatThemNamingRowsAsAPersonWould) {
    TemporaryDeviceRoot root;
    root.write(std::string(HostedPage::kBundlePath) + "/Inner.plist",
               NSPropertyListSerialization::dataWithPropertyList(
                   Value(Value::Dictionary{
                       {"items", Value::Array{Value(HostedPage::row("PSSwitchCell", "inner"))}}}),
                   NSPropertyListXMLFormat_v1_0));
    HostedPage page(root, Value::Array{
                              HostedPage::row("PSSwitchCell", "flag"),
                              HostedPage::row("PSSegmentCell", "mode",
                                              {{"validValues", Value::Array{1, 2}},
                                               {"validTitles", Value::Array{"Slow", "Fast"}}}),
                              HostedPage::row("PSSwitchCell", "seven", {{"label", "7"}}),
                              HostedPage::row("PSSwitchCell", "twinA", {{"label", "Twin"}}),
                              HostedPage::row("PSSwitchCell", "twinB", {{"label", "Twin"}}),
                              HostedPage::row("PSSwitchCell", "spaced", {{"label", "Two words"}}),
                              HostedPage::row("PSSliderCell", "level", {{"min", 0}, {"max", 10}}),
                              HostedPage::row("PSEditTextCell", "name"),
                              HostedPage::row("PSLinkCell", "more", {{"id", "Inner"}}),
                          });
    PageHost& host = *page.host;
    ViewFinder finder(host);
    auto control = [&](const char* row, auto* kind) {
        using View = std::remove_pointer_t<decltype(kind)>;
        return finder.control<View>(finder.row(row), "control");
    };
    const Ref<UISegmentedControl> segments = control("mode", (UISegmentedControl*)nullptr);
    const CGRect fast = segments->convertRectToView(segments->rectForSegmentAtIndex(1), nullptr);
    const Ref<UISlider> slider = control("level", (UISlider*)nullptr);
    const CGRect track = slider->trackRectForBounds(slider->bounds());
    const CGPoint thumb = middleOf(slider->convertRectToView(
        slider->thumbRectForBounds(slider->bounds(), track, slider->value()), nullptr));
    const CGFloat travel = track.size.width - UISlider::kThumbDiameter;
    struct Case {
        const char* name;
        CGPoint from;
        CGPoint to;
        std::optional<std::string> step;
    };
    const std::vector<Case> cases = {
        {"a switch", middleOf(inWindow(control("flag", (UISwitch*)nullptr))), {}, "toggle flag"},
        {"a segment", middleOf(fast), {}, "segment mode Fast"},
        {"a label that reads as an index",
         middleOf(inWindow(control("label:7", (UISwitch*)nullptr))),
         {},
         "toggle label:7"},
        {"a label two rows share",
         middleOf(inWindow(control("key:twinB", (UISwitch*)nullptr))),
         {},
         "toggle key:twinB"},
        {"a label with a blank",
         middleOf(inWindow(control("Two words", (UISwitch*)nullptr))),
         {},
         "toggle \"Two words\""},
        {"a slider's thumb, clicked", thumb, {}, std::nullopt},
        {"a slider's thumb, dragged halfway", thumb, CGPointMake(thumb.x + travel / 2, thumb.y),
         "drag level to 5.00"},
        {"a slider's track, dragged", CGPointMake(thumb.x + travel * 0.8, thumb.y),
         CGPointMake(thumb.x + travel * 0.9, thumb.y), std::nullopt},
        {"a link's title",
         CGPointMake(40, middleOf(inWindow(finder.row("more").cell)).y),
         {},
         "tap more"},
        {"outside the rows", CGPointMake(2, host.pageHeight() - 2), {}, std::nullopt},
    };
    for (const Case& c : cases) {
        const GestureSteps::Action action = c.to.x == 0 && c.to.y == 0
                                                ? GestureSteps::click(host, c.from)
                                                : GestureSteps::drag(host, c.from, c.to);
        EXPECT_EQ(action.step, c.step) << c.name;
        // The step names what the gesture touched: it applies as it stands.
        if (action.step) {
            EXPECT_NO_THROW(ScriptRunner(host, [](size_t, const std::string&) {})
                                .run(Script::parse(*action.step)))
                << c.name;
        }
    }
    EXPECT_EQ(page.stored("twinB"), Value(true));
    EXPECT_EQ(page.stored("twinA"), Value());
    EXPECT_EQ(host.shownController()->title(), "more");

    // A click on a text field gives it the caret and names its row for typing.
    ScriptRunner(host, [](size_t, const std::string&) {}).run(Script::parse("back"));
    const GestureSteps::Action field =
        GestureSteps::click(host, middleOf(inWindow(control("name", (UITextField*)nullptr))));
    EXPECT_FALSE(field.step);
    EXPECT_TRUE(field.focus);
    EXPECT_EQ(field.focusRow, "name");
}

TEST(ScriptRecorder, QuotesArgumentsOnlyWhenAStepNeedsItAndRefusesLineBreaks) {
    const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
        {"Fast", "Fast"},
        {"#FF3B30", "#FF3B30"},
        {"#", "\"#\""},
        {"", "\"\""},
        {"Two words", "\"Two words\""},
        {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"back\\slash", "\"back\\\\slash\""},
        {"line\nbreak", std::nullopt},
        {std::string("nul\0", 4), std::nullopt},
    };
    for (const auto& [text, argument] : cases) {
        EXPECT_EQ(ScriptRecorder::argument(text), argument) << text;
        // What is written reads back as the text.
        if (argument) {
            const std::vector<ScriptStep> steps = Script::parse("enter name " + *argument);
            ASSERT_EQ(steps.size(), 1u);
            EXPECT_EQ(steps[0].arguments.back(), text);
        }
    }
}

} // namespace
