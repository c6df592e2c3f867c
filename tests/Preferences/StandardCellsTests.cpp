#include <gtest/gtest.h>

#include <Foundation/NSString.h>
#include <Foundation/SDKEventLog.h>
#include <Preferences/Preferences.h>
#include <UIKit/NSStringDrawing.h>
#include <UIKit/UIColor.h>
#include <UIKit/UILabel.h>
#include <UIKit/UINavigationController.h>
#include <UIKit/UISegmentedControl.h>
#include <UIKit/UISlider.h>
#include <UIKit/UISwitch.h>
#include <UIKit/UITableView.h>
#include <UIKit/UITextField.h>

#include "HostedPage.h"

namespace {

Value::Array array(std::initializer_list<Value> values) {
    return Value::Array(values);
}

size_t errorsMentioning(const std::string& text) {
    size_t count = 0;
    for (const SDKEvents::Error& error : SDKEventLog::records<SDKEvents::Error>()) {
        if (error.message.find(text) != std::string::npos) {
            ++count;
        }
    }
    return count;
}

// What a row shows for what is stored: nothing, the expected kind, and odd
// kinds, with and without a "default".
struct ShownCase {
    const char* name;
    Value stored;
    Value fallback;
    bool on;
};

class SwitchShows : public testing::TestWithParam<ShownCase> {};

TEST_P(SwitchShows, TheStoredFlagOrItsDefaultWithoutRewritingTheFile) {
    const ShownCase& given = GetParam();
    TemporaryDeviceRoot root;
    Value::Dictionary stored;
    if (!given.stored.isNil()) {
        stored["flag"] = given.stored;
    }
    Value::Dictionary extra;
    if (!given.fallback.isNil()) {
        extra["default"] = given.fallback;
    }
    HostedPage page(root, {HostedPage::row("PSSwitchCell", "flag", extra)}, stored);
    auto cell = page.cell<PSSwitchTableCell>(0);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->control()->isOn(), given.on);
    EXPECT_EQ(page.stored("flag"), given.stored);
    EXPECT_EQ(page.specifier(0)->performGetter(), given.stored);
}

INSTANTIATE_TEST_SUITE_P(
    StandardCells, SwitchShows,
    testing::Values(ShownCase{"NothingNoDefault", Value(), Value(), false},
                    ShownCase{"NothingDefaultOn", Value(), Value(true), true},
                    ShownCase{"StoredOffOverDefault", Value(false), Value(true), false},
                    ShownCase{"StoredOn", Value(true), Value(), true},
                    ShownCase{"IntegerOne", Value(1), Value(), true},
                    ShownCase{"TextYes", Value("YES"), Value(), true},
                    ShownCase{"TextNo", Value("no"), Value(true), false},
                    ShownCase{"TextStartingWithT", Value("text"), Value(), true},
                    ShownCase{"Dictionary", Value(Value::Dictionary{{"a", 1}}), Value(), false}),
    [](const testing::TestParamInfo<ShownCase>& shown) { return shown.param.name; });

TEST(StandardCells, SwitchTapStoresABooleanEachWay) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {HostedPage::row("PSSwitchCell", "flag", {{"default", true}})},
                    {{"flag", "odd"}});
    auto cell = page.cell<PSSwitchTableCell>(0);
    ASSERT_TRUE(cell);
    for (bool expected : {true, false, true}) {
        page.tap(cell->control());
        const Value stored = page.stored("flag");
        EXPECT_EQ(stored.type(), Value::Type::Boolean);
        EXPECT_EQ(stored.boolValue(), expected);
        EXPECT_EQ(cell->control()->isOn(), expected);
    }
}

TEST(StandardCells, DisabledRowIsDimmedAndIgnoresTouches) {
    TemporaryDeviceRoot root;
    HostedPage page(
        root, {HostedPage::row("PSSwitchCell", "flag", {{"enabled", false}}),
               HostedPage::row("PSButtonCell", "button", {{"enabled", false}, {"action", "go"}})});
    auto cell = page.cell<PSSwitchTableCell>(0);
    ASSERT_TRUE(cell);
    EXPECT_FALSE(cell->cellEnabled());
    EXPECT_FALSE(cell->control()->isEnabled());
    EXPECT_LT(cell->contentView()->alpha(), 1);
    EXPECT_THROW(page.tap(cell->control()), HostError);
    EXPECT_THROW(page.tapRow(1), HostError);
    EXPECT_FALSE(cell->control()->isOn());
    EXPECT_TRUE(page.stored("flag").isNil());
    EXPECT_EQ(errorsMentioning("go"), 0u);
}

struct SegmentCase {
    const char* name;
    Value stored;
    long selected;
};

class SegmentShows : public testing::TestWithParam<SegmentCase> {};

TEST_P(SegmentShows, TheStoredValuesSegment) {
    TemporaryDeviceRoot root;
    Value::Dictionary stored;
    if (!GetParam().stored.isNil()) {
        stored["mode"] = GetParam().stored;
    }
    HostedPage page(root,
                    {HostedPage::row("PSSegmentCell", "mode",
                                     {{"validValues", array({1, 2, 3})},
                                      {"validTitles", array({"One", "Two", "Three"})},
                                      {"default", 2}})},
                    stored);
    auto cell = page.cell<PSSegmentTableCell>(0);
    ASSERT_TRUE(cell);
    ASSERT_EQ(cell->control()->numberOfSegments(), 3u);
    EXPECT_EQ(cell->control()->titleForSegmentAtIndex(2), "Three");
    EXPECT_EQ(cell->control()->selectedSegmentIndex(), GetParam().selected);
    EXPECT_EQ(page.stored("mode"), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(
    StandardCells, SegmentShows,
    testing::Values(SegmentCase{"NothingShowsDefault", Value(), 1},
                    SegmentCase{"Integer", Value(3), 2},
                    SegmentCase{"RealOfSameAmount", Value(1.0), 0},
                    SegmentCase{"UnknownNumber", Value(7), UISegmentedControl::kNoSegment},
                    SegmentCase{"Text", Value("two"), UISegmentedControl::kNoSegment}),
    [](const testing::TestParamInfo<SegmentCase>& segment) { return segment.param.name; });

TEST(StandardCells, SegmentTapStoresTheValueWithItsType) {
    struct Case {
        Value::Array values;
        size_t segment;
        Value expected;
    };
    const std::vector<Case> cases = {
        {array({1, 2, 3}), 0, Value(1)},
        {array({"low", "high"}), 1, Value("high")},
        {array({0.5, 1.5}), 1, Value(1.5)},
    };
    for (const Case& given : cases) {
        TemporaryDeviceRoot root;
        HostedPage page(
            root, {HostedPage::row("PSSegmentCell", "mode", {{"validValues", given.values}})});
        auto control = page.cell<PSSegmentTableCell>(0)->control();
        const CGRect segment = control->rectForSegmentAtIndex(given.segment);
        page.finger().tapAt(control, CGPointMake(CGRectGetMidX(segment), CGRectGetMidY(segment)));
        page.host->settle();
        EXPECT_EQ(page.stored("mode"), given.expected);
        EXPECT_EQ(page.stored("mode").type(), given.expected.type());
        EXPECT_EQ(control->selectedSegmentIndex(), static_cast<long>(given.segment));
    }
}

TEST(StandardCells, SliderShowsStoredNumberAndStoresWhereItIsDragged) {
    struct Case {
        Value stored;
        Value::Dictionary extra;
        float shown;
        float dragTo;
        double expected;
    };
    const std::vector<Case> cases = {
        {Value(), {{"default", 4}}, 4, 7.3f, 7.3},
        {Value(2), {}, 2, 9, 9},
        {Value("odd"), {}, 0, 1, 1},
        {Value(50), {}, 10, 5, 5},
        {Value(), {{"isSegmented", true}, {"segmentCount", 5}}, 0, 4.4f, 4},
    };
    for (const Case& given : cases) {
        TemporaryDeviceRoot root;
        Value::Dictionary extra = given.extra;
        extra["min"] = 0;
        extra["max"] = 10;
        extra["showValue"] = true;
        Value::Dictionary stored;
        if (!given.stored.isNil()) {
            stored["level"] = given.stored;
        }
        HostedPage page(root, {HostedPage::row("PSSliderCell", "level", extra)}, stored);
        auto cell = page.cell<PSSliderTableCell>(0);
        ASSERT_TRUE(cell);
        EXPECT_FLOAT_EQ(cell->control()->value(), given.shown);
        EXPECT_EQ(page.stored("level"), given.stored);
        page.drag(cell->control(), given.dragTo);
        EXPECT_EQ(page.stored("level").type(), Value::Type::Real);
        EXPECT_NEAR(page.stored("level").doubleValue(), given.expected, 0.05);
        EXPECT_EQ(cell->valueLabel()->text(),
                  NSString::stringWithFormat("%.2f", cell->control()->value()));
    }
}

TEST(StandardCells, PlainRowsShowTintChevronAndValue) {
    TemporaryDeviceRoot root;
    HostedPage page(root,
                    {HostedPage::row("PSButtonCell", "plain"),
                     HostedPage::row("PSButtonCell", "erase", {{"isDestructive", true}}),
                     HostedPage::row("PSLinkCell", "more"),
                     HostedPage::row("PSTitleValueCell", "version"),
                     HostedPage::row("PSStaticTextCell", "note"),
                     HostedPage::row("PSTitleValueCell", "missing", {{"default", 3}})},
                    {{"version", "1.2"}});
    EXPECT_TRUE(page.cell(0)->textLabel()->textColor()->isEqual(*UIColor::systemBlueColor()));
    EXPECT_TRUE(page.cell(1)->textLabel()->textColor()->isEqual(*UIColor::systemRedColor()));
    EXPECT_TRUE(page.cell(2)->accessoryView());
    EXPECT_FALSE(page.cell(0)->accessoryView());
    EXPECT_EQ(page.cell(3)->detailTextLabel()->text(), "1.2");
    EXPECT_FALSE(page.cell(4)->accessoryView());
    EXPECT_EQ(page.cell(5)->detailTextLabel()->text(), "3");
}

TEST(StandardCells, CellClassNamingAStandardCellGivesIt) {
    TemporaryDeviceRoot root;
    HostedPage page(root,
                    {HostedPage::row("PSTableCell", "flag", {{"cellClass", "PSSwitchTableCell"}}),
                     HostedPage::row("PSTableCell", "mode", {{"cellClass", "PSSegmentCell"}})});
    EXPECT_TRUE(page.cell<PSSwitchTableCell>(0));
    EXPECT_TRUE(page.cell<PSSegmentTableCell>(1));
    EXPECT_EQ(errorsMentioning("not found"), 0u);
}

TEST(StandardCells, ButtonActionTheTargetDoesNotAnswerIsLoggedAfterItsConfirmation) {
    TemporaryDeviceRoot root;
    HostedPage page(
        root, {HostedPage::row("PSButtonCell", "reset", {{"action", "resetAll:"}}),
               HostedPage::row("PSButtonCell", "wipe",
                               {{"action", "wipe"},
                                {"confirmation", Value::Dictionary{{"prompt", "Sure?"},
                                                                   {"okTitle", "Wipe"},
                                                                   {"cancelTitle", "Keep"}}}})});
    page.tapRow(0);
    EXPECT_EQ(errorsMentioning("does not answer the action resetAll:"), 1u);

    page.tapRow(1);
    auto alert = objc_cast<UIAlertController>(page.controller->presentedViewController());
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->message(), "Sure?");
    EXPECT_EQ(errorsMentioning("wipe"), 0u);
    page.tapButton(alert, "Keep");
    EXPECT_EQ(errorsMentioning("wipe"), 0u);
    page.tapRow(1);
    alert = objc_cast<UIAlertController>(page.controller->presentedViewController());
    ASSERT_TRUE(alert);
    page.tapButton(alert, "Wipe");
    EXPECT_EQ(errorsMentioning("does not answer the action wipe"), 1u);
}

TEST(StandardCells, LinkPushesItsPaneLocalisedAndBackPopsIt) {
    TemporaryDeviceRoot root;
    const std::string bundle = HostedPage::kBundlePath;
    root.write(bundle + "/Child.plist",
               NSPropertyListSerialization::dataWithPropertyList(
                   Value(Value::Dictionary{
                       {"items", array({Value(HostedPage::row("PSSwitchCell", "inner"))})}}),
                   NSPropertyListXMLFormat_v1_0));
    root.write(bundle + "/en.lproj/Child.strings", "\"inner\" = \"Inside\";\n");
    HostedPage page(root,
                    {HostedPage::row("PSLinkCell", "more", {{"id", "Child"}}),
                     HostedPage::row("PSLinkCell", "gone", {{"detail", "NoSuchController"}})});
    auto navigation = page.host->navigationController();
    page.tapRow(0);
    auto child = objc_cast<PSListController>(navigation->topViewController());
    ASSERT_TRUE(child);
    ASSERT_NE(child, page.controller);
    EXPECT_EQ(child->title(), "more");
    ASSERT_EQ(child->specifiers().size(), 1u);
    EXPECT_EQ(child->specifiers()[0]->name(), "Inside");
    auto inner = objc_cast<PSSwitchTableCell>(child->cellForSpecifier(child->specifiers()[0]));
    ASSERT_TRUE(inner);
    page.tap(inner->control());
    EXPECT_EQ(page.stored("inner"), Value(true));

    navigation->popViewControllerAnimated(true);
    page.host->settle();
    EXPECT_EQ(navigation->topViewController(), page.controller);

    // A detail class that is not loaded here shows the pane all the same.
    page.tapRow(1);
    EXPECT_NE(navigation->topViewController(), page.controller);
    EXPECT_EQ(errorsMentioning("NoSuchController"), 1u);
}

TEST(StandardCells, ListLinkShowsTitleChecksStoredAndStoresTheChoice) {
    struct Case {
        Value stored;
        std::optional<std::string> shown;
        std::optional<size_t> checked;
    };
    const std::vector<Case> cases = {
        {Value(), "Med", 1},
        {Value(3), "Hi", 2},
        {Value("unknown"), std::nullopt, std::nullopt},
    };
    for (const Case& given : cases) {
        TemporaryDeviceRoot root;
        Value::Dictionary stored;
        if (!given.stored.isNil()) {
            stored["level"] = given.stored;
        }
        HostedPage page(root,
                        {HostedPage::row("PSLinkListCell", "level",
                                         {{"detail", "PSListItemsController"},
                                          {"validValues", array({1, 2, 3})},
                                          {"validTitles", array({"Low", "Medium", "High"})},
                                          {"shortTitles", array({"Lo", "Med", "Hi"})},
                                          {"default", 2}})},
                        stored);
        EXPECT_EQ(page.cell(0)->detailTextLabel()->text(), given.shown);
        page.tapRow(0);
        auto navigation = page.host->navigationController();
        auto list = objc_cast<PSListItemsController>(navigation->topViewController());
        ASSERT_TRUE(list);
        ASSERT_EQ(list->specifiers().size(), 4u);
        EXPECT_EQ(list->specifiers()[3]->name(), "High");
        Ref<PSSpecifier> checked = list->checkedSpecifier();
        if (given.checked) {
            EXPECT_EQ(checked, list->specifiers()[*given.checked + 1]);
            EXPECT_TRUE(list->cellForSpecifier(checked)->accessoryView());
        } else {
            EXPECT_FALSE(checked);
        }
        EXPECT_EQ(page.stored("level"), given.stored);

        page.finger().tapRow(list->cellForSpecifier(list->specifiers()[1]));
        page.host->settle();
        EXPECT_EQ(page.stored("level"), Value(1));
        EXPECT_EQ(navigation->topViewController(), page.controller);
        EXPECT_EQ(page.cell(0)->detailTextLabel()->text(), "Lo");
    }
}

TEST(StandardCells, FootersAreLocalisedAlignedAndDoNotOverlapTheNextHeader) {
    TemporaryDeviceRoot root;
    const std::string longFooter =
        "This footer runs over several lines because it explains at length what the "
        "switch above it does and when the change applies to the running system.";
    HostedPage page(root,
                    {Value::Dictionary{{"cell", "PSGroupCell"},
                                       {"label", "First"},
                                       {"footerText", "FOOTER_KEY"},
                                       {"footerAlignment", 1}},
                     HostedPage::row("PSSwitchCell", "a"),
                     Value::Dictionary{{"cell", "PSGroupCell"}, {"footerText", longFooter}},
                     HostedPage::row("PSSwitchCell", "b"),
                     Value::Dictionary{{"cell", "PSGroupCell"}, {"label", "Third"}},
                     HostedPage::row("PSSwitchCell", "c")},
                    {}, "\"FOOTER_KEY\" = \"Localised footer\";\n");
    const auto& sections = page.controller->table()->sections();
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[0].footerTitle, "Localised footer");
    EXPECT_EQ(sections[0].footerAlignment, NSTextAlignmentCenter);
    EXPECT_EQ(sections[1].footerAlignment, NSTextAlignmentNatural);
    page.host->settle();
    const auto& layouts = page.controller->table()->sectionLayouts();
    ASSERT_EQ(layouts.size(), 3u);
    EXPECT_GT(layouts[1].footer.size.height, 2 * layouts[0].footer.size.height);
    EXPECT_LE(CGRectGetMaxY(layouts[1].footer), layouts[2].header.origin.y);
    EXPECT_LE(CGRectGetMaxY(layouts[1].footer), layouts[2].card.origin.y);
}

TEST(StandardCells, EditTextFieldFollowsItsKeysAndStoresTextWhenEditingEnds) {
    struct Case {
        const char* cell;
        Value::Dictionary extra;
        UIKeyboardType keyboard;
        bool secure;
    };
    const std::vector<Case> cases = {
        {"PSEditTextCell", {}, UIKeyboardTypeDefault, false},
        {"PSEditTextCell", {{"isIP", true}}, UIKeyboardTypeNumbersAndPunctuation, false},
        {"PSEditTextCell", {{"isURL", true}}, UIKeyboardTypeURL, false},
        {"PSEditTextCell", {{"isNumeric", true}}, UIKeyboardTypeNumberPad, false},
        {"PSEditTextCell", {{"keyboard", "email"}}, UIKeyboardTypeEmailAddress, false},
        {"PSSecureEditTextCell", {}, UIKeyboardTypeDefault, true},
    };
    for (const Case& given : cases) {
        TemporaryDeviceRoot root;
        Value::Dictionary extra = given.extra;
        extra["placeholder"] = "Name";
        HostedPage page(root, {HostedPage::row(given.cell, "name", extra)});
        auto cell = page.cell<PSEditableTableCell>(0);
        ASSERT_TRUE(cell);
        auto field = cell->textField();
        EXPECT_EQ(field->keyboardType(), given.keyboard);
        EXPECT_EQ(field->isSecureTextEntry(), given.secure);
        EXPECT_EQ(field->placeholder(), "Name");
        EXPECT_EQ(field->text(), "");

        page.tap(field);
        Keyboard keyboard(page.window);
        keyboard.type("héllo");
        EXPECT_TRUE(page.stored("name").isNil());
        keyboard.pressReturn();
        page.host->settle();
        EXPECT_FALSE(field->isFirstResponder());
        EXPECT_EQ(page.stored("name"), Value("héllo"));
    }
}

TEST(StandardCells, EditTextShowsStoredTextAndLeavesItAloneWhenUnchanged) {
    struct Case {
        Value stored;
        std::string shown;
    };
    const std::vector<Case> cases = {{Value("kept"), "kept"},
                                     {Value(12), "12"},
                                     {Value(), "fallback"},
                                     {Value(Value::Array{1}), ""}};
    for (const Case& given : cases) {
        TemporaryDeviceRoot root;
        Value::Dictionary stored;
        if (!given.stored.isNil()) {
            stored["name"] = given.stored;
        }
        HostedPage page(
            root, {HostedPage::row("PSEditTextCell", "name", {{"default", "fallback"}})}, stored);
        auto field = page.cell<PSEditableTableCell>(0)->textField();
        EXPECT_EQ(field->text(), given.shown);
        page.tap(field);
        Keyboard(page.window).pressReturn();
        page.host->settle();
        EXPECT_EQ(page.stored("name"), given.stored);
    }
}

// A tweak's controller that answers the rows' "get" and "set" messages and
// an action, as a bundle's executable exports them.
class AccessorController : public PSListController {
public:
    Ref<AccessorController> init() {
        PSListController::init();
        return self<AccessorController>();
    }
    Id readSpeed(const Ref<PSSpecifier>&) { return Id(42L); }
    void writeSpeed(const Id& value, const Ref<PSSpecifier>&) { written = value.doubleValue(); }
    void respring() { ++actions; }
    const objc_class* objcClass() const override;

    double written = 0;
    int actions = 0;
};

constexpr objc_method kAccessorMethods[] = {
    ObjCExport::method<&AccessorController::readSpeed>("readSpeed:"),
    ObjCExport::method<&AccessorController::writeSpeed>("writeSpeed:specifier:"),
    ObjCExport::method<&AccessorController::respring>("respring")};
constinit const objc_class kAccessorClass{"AccessorController", nullptr, {}, kAccessorMethods};

const objc_class* AccessorController::objcClass() const {
    return &kAccessorClass;
}

TEST(StandardCells, GetSetAndActionAreSentByNameWhenAnsweredElseTheDomainIsUsed) {
    TemporaryDeviceRoot root;
    HostedPage page(root,
                    {HostedPage::row("PSSliderCell", "speed",
                                     {{"get", "readSpeed:"}, {"set", "writeSpeed:specifier:"}}),
                     HostedPage::row("PSSliderCell", "other",
                                     {{"get", "missing:"}, {"set", "absent:specifier:"}}),
                     HostedPage::row("PSButtonCell", "go", {{"action", "respring"}})},
                    {{"other", 3}});
    auto controller = alloc<AccessorController>()->init();
    controller->setBundle(page.controller->bundle());
    SDKEventLog::clear();
    auto rows = controller->loadSpecifiersFromPlistName("Root", controller);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0]->performGetter(), Value(42));
    rows[0]->performSetterWithValue(Value(2.5));
    EXPECT_EQ(controller->written, 2.5);
    EXPECT_TRUE(page.stored("speed").isNil());

    EXPECT_EQ(errorsMentioning("does not answer missing:"), 1u);
    EXPECT_EQ(errorsMentioning("does not answer absent:specifier:"), 1u);
    EXPECT_EQ(rows[1]->performGetter(), Value(3));
    rows[1]->performSetterWithValue(Value(4));
    EXPECT_EQ(page.stored("other"), Value(4));

    controller->performActionForSpecifier(rows[2]);
    EXPECT_EQ(controller->actions, 1);
}

} // namespace

namespace {

TEST(StandardCells, ATextRowsTitleTakesItsNaturalWidthAndTheFieldTheRest) {
    TemporaryDeviceRoot root;
    const std::string longTitle(60, 'W');
    HostedPage page(root, {HostedPage::row("PSEditTextCell", "Max History Items"),
                           HostedPage::row("PSEditTextCell", longTitle.c_str())});
    page.host->settle();
    for (size_t i = 0; i < 2; ++i) {
        const Ref<PSEditableTableCell> cell = page.cell<PSEditableTableCell>(i);
        const CGRect title = cell->textLabel()->frame();
        const CGRect field = cell->textField()->frame();
        const CGFloat content = cell->contentView()->bounds().size.width;
        const CGFloat natural =
            NSStringDrawing::sizeWithFont(*cell->textLabel()->text(), cell->textLabel()->font())
                .width;
        if (i == 0) {
            // Not cut: the whole title shows, and the field starts just after it.
            EXPECT_GE(title.size.width, natural);
            EXPECT_LT(title.size.width, natural + 1);
        } else {
            // Too long: cut so that the field, with its margin, keeps its share of the row.
            EXPECT_LT(title.size.width, natural);
            EXPECT_NEAR(field.size.width + UITableViewCell::kLayoutMargin,
                        content * PSEditableTableCell::kLeastFieldShare, 1);
        }
        EXPECT_DOUBLE_EQ(field.origin.x,
                         CGRectGetMaxX(title) + PSEditableTableCell::kTitleFieldGap);
        EXPECT_DOUBLE_EQ(CGRectGetMaxX(field), content - UITableViewCell::kLayoutMargin);
    }
}

} // namespace
