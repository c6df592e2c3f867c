#include <gtest/gtest.h>

#include <Foundation/CFNotificationCenter.h>
#include <Foundation/SDKEventLog.h>
#include <Preferences/Preferences.h>

#include <Foundation/NSBundle.h>
#include <UIKit/NSStringDrawing.h>
#include <UIKit/UILabel.h>
#include <UIKit/UIScreen.h>
#include <UIKit/UITableView.h>

#include "HostedPage.h"

// A row that records its selections, exported by name for "cellClass".
class TestRecordingCell : public PSTableCell {
public:
    void setSelected(bool selected, bool animated) override {
        PSTableCell::setSelected(selected, animated);
        heard.push_back(selected);
    }
    std::vector<bool> heard;
};

extern "C" __attribute__((
    visibility("default"))) constinit const objc_class OBJC_CLASS_$_TestRecordingCell{
    "TestRecordingCell", &OBJC_CLASS_$_PSTableCell,
    PSTableCellClassMethods<TestRecordingCell>::classMethods,
    PSTableCellClassMethods<TestRecordingCell>::instanceMethods};

namespace {

Value::Dictionary row(const char* label, const char* key, Value::Dictionary extra = {}) {
    Value::Dictionary properties{
        {"cell", "PSTableCell"}, {"label", label}, {"key", key}, {"defaults", HostedPage::kDomain}};
    for (auto& [name, value] : extra) {
        properties[name] = value;
    }
    return properties;
}

std::vector<std::string> errors() {
    std::vector<std::string> messages;
    for (SDKEvents::Error& error : SDKEventLog::records<SDKEvents::Error>()) {
        messages.push_back(std::move(error.message));
    }
    return messages;
}

TEST(ListController, LoadsRowsInSectionsWithLocalisedLabelsAndHeights) {
    TemporaryDeviceRoot root;
    HostedPage page(root,
                    {Value::Dictionary{{"cell", "PSGroupCell"},
                                       {"label", "General"},
                                       {"footerText", "Changes apply at once."}},
                     row("Speed", "speed", {{"height", 60}}), row("Size", "size"),
                     Value::Dictionary{{"cell", "PSGroupCell"}}, row("Other", "other")},
                    {}, "/* titles */\n\"Speed\" = \"Vitesse\";\n");
    ASSERT_EQ(page.controller->specifiers().size(), 5u);
    EXPECT_EQ(page.specifier(1)->name(), "Vitesse");
    EXPECT_EQ(page.specifier(2)->name(), "Size");

    const auto& sections = page.controller->table()->sections();
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[0].headerTitle, "General");
    EXPECT_EQ(sections[0].footerTitle, "Changes apply at once.");
    ASSERT_EQ(sections[0].rows.size(), 2u);
    EXPECT_EQ(sections[0].rows[0].height, 60);
    EXPECT_EQ(sections[0].rows[1].height, PSListController::kDefaultRowHeight);
    EXPECT_EQ(page.cell(1)->textLabel()->text(), "Vitesse");
    EXPECT_EQ(page.controller->specifierForID("size"), page.specifier(2));

    // Inset grouped: cards inset from the sides, one after the other.
    page.window->layoutIfNeeded();
    const auto& layouts = page.controller->table()->sectionLayouts();
    ASSERT_EQ(layouts.size(), 2u);
    EXPECT_EQ(layouts[0].card.origin.x, UITableView::kInset);
    EXPECT_EQ(layouts[0].card.size.width,
              UIScreen::mainScreen()->bounds().size.width - 2 * UITableView::kInset);
    EXPECT_EQ(layouts[0].card.size.height, 104);
    EXPECT_GT(layouts[1].card.origin.y, CGRectGetMaxY(layouts[0].card));
    EXPECT_EQ(page.cell(2)->frame().origin.y, layouts[0].card.origin.y + 60);
}

TEST(ListController, GetterYieldsNilUntilSomethingIsStored) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {row("Speed", "speed", {{"default", 5}}), row("Loose", "loose")});
    auto speed = page.specifier(0);
    EXPECT_TRUE(speed->performGetter().isNil());

    speed->performSetterWithValue(Value::numberWithDouble(2.5));
    EXPECT_EQ(speed->performGetter(), Value(2.5));
    EXPECT_EQ(page.stored("speed"), Value(2.5));

    // A row without "defaults" stores nothing and says why.
    auto loose = alloc<PSSpecifier>()->initWithProperties({{"label", "Loose"}, {"key", "loose"}});
    loose->setTarget(page.controller);
    page.controller->setPreferenceValue(1, loose);
    EXPECT_TRUE(page.stored("loose").isNil());
    EXPECT_EQ(errors().size(), 1u);
}

TEST(ListController, StoringKeepsOtherValuesAndTheFilesFormatAndPostsTheNotification) {
    TemporaryDeviceRoot root;
    const std::string path = *PSPreferenceDomain::pathForDomain(HostedPage::kDomain);
    NSPropertyListSerialization::writePropertyList(
        Value(Value::Dictionary{{"kept", "yes"}, {"speed", 1}}), path,
        NSPropertyListXMLFormat_v1_0);
    HostedPage page(root,
                    {row("Speed", "speed", {{"PostNotification", "com.example.test/reload"}})});
    std::vector<std::string> heard;
    CFNotificationCenter::darwinNotifyCenter()->addObserver(
        "com.example.test/reload", [&](const std::string& name) { heard.push_back(name); });

    page.specifier(0)->performSetterWithValue(Value(3.0));
    CFNotificationCenter::darwinNotifyCenter()->removeAllObservers();

    EXPECT_EQ(page.stored("kept"), Value("yes"));
    EXPECT_EQ(page.stored("speed"), Value(3.0));
    EXPECT_EQ(root.read(path).rfind("<?xml", 0), 0u);
    EXPECT_EQ(heard, std::vector<std::string>{"com.example.test/reload"});
    ASSERT_EQ(SDKEventLog::records<SDKEvents::Notification>().size(), 1u);
}

TEST(ListController, AnUnreadableDomainFileIsNeverOverwritten) {
    TemporaryDeviceRoot root;
    const std::string path = *PSPreferenceDomain::pathForDomain(HostedPage::kDomain);
    root.write(path, "this is not a property list");
    HostedPage page(root,
                    {row("Speed", "speed", {{"PostNotification", "com.example.test/reload"}})});
    EXPECT_TRUE(page.specifier(0)->performGetter().isNil());
    page.specifier(0)->performSetterWithValue(Value(3.0));
    EXPECT_EQ(root.read(path), "this is not a property list");
    EXPECT_EQ(errors().size(), 1u);
    EXPECT_TRUE(SDKEventLog::records<SDKEvents::Notification>().empty());
}

TEST(ListController, UnknownCellClassShowsAPlainCellAndSaysSo) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {row("Mystery", "mystery", {{"cellClass", "KLNoSuchCell"}})});
    Ref<PSTableCell> cell = page.cell(0);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->className(), "PSTableCell");
    EXPECT_EQ(cell->textLabel()->text(), "Mystery");
    ASSERT_EQ(errors().size(), 1u);
    EXPECT_NE(errors()[0].find("KLNoSuchCell"), std::string::npos);
    EXPECT_NE(errors()[0].find("mystery"), std::string::npos);
}

TEST(ListController, MissingOrMalformedPagesAreReported) {
    TemporaryDeviceRoot root;
    struct Case {
        const char* contents; // nullptr: no Root.plist at all
        const char* mentions;
    };
    const Case cases[] = {{nullptr, "Root.plist not found"},
                          {"<plist><dict><key>items</key>", "not a property-list"},
                          {"<plist version=\"1.0\"><dict/></plist>", "no \"items\""}};
    for (const Case& c : cases) {
        SDKEventLog::clear();
        const std::string bundle = "/Library/PreferenceBundles/Broken.bundle";
        root.makeFolder(bundle);
        if (c.contents) {
            root.write(bundle + "/Root.plist", c.contents);
        }
        auto controller = alloc<PSListController>()->init();
        controller->setBundle(NSBundle::bundleWithPath(bundle));
        EXPECT_TRUE(controller->specifiers().empty());
        ASSERT_TRUE(controller->loadError().has_value());
        EXPECT_NE(controller->loadError()->find(c.mentions), std::string::npos)
            << *controller->loadError();
        EXPECT_EQ(errors().size(), 1u);
    }
}

} // namespace

namespace {

TEST(ListController, ExposesItsSectionsWithTheirGroupsHeadersAndFooters) {
    TemporaryDeviceRoot root;
    HostedPage page(
        root,
        {row("Loose", "loose"),
         Value::Dictionary{{"cell", "PSGroupCell"}, {"label", "General"}, {"footerText", "Below."}},
         row("Speed", "speed"), row("Size", "size"), Value::Dictionary{{"cell", "PSGroupCell"}}});
    const auto& sections = page.controller->sections();
    ASSERT_EQ(sections.size(), 3u);
    struct Expected {
        size_t group;
        std::optional<std::string> header, footer;
        std::vector<size_t> rows;
    };
    // The rows before the first group make a section with no group cell.
    const Expected expected[] = {{SIZE_MAX, std::nullopt, std::nullopt, {0}},
                                 {1, "General", "Below.", {2, 3}},
                                 {4, std::nullopt, std::nullopt, {}}};
    for (size_t i = 0; i < sections.size(); ++i) {
        const Expected& e = expected[i];
        EXPECT_EQ(sections[i].group, e.group == SIZE_MAX ? nullptr : page.specifier(e.group)) << i;
        EXPECT_EQ(sections[i].header, e.header) << i;
        EXPECT_EQ(sections[i].footer, e.footer) << i;
        ASSERT_EQ(sections[i].rows.size(), e.rows.size()) << i;
        for (size_t r = 0; r < e.rows.size(); ++r) {
            EXPECT_EQ(sections[i].rows[r], page.specifier(e.rows[r])) << i;
        }
    }
}

TEST(ListController, FootersOfSeveralLinesTakeTheirHeightAndTheHeaderViewItsOwn) {
    struct Case {
        const char* footer;
        size_t lines;
    };
    const Case cases[] = {
        {"One line.", 1},
        {"First line.\nSecond line.\nThird line.", 3},
        {"A footer long enough that it has to wrap onto a second line on a phone's "
         "screen, and a third.",
         2},
    };
    for (const Case& c : cases) {
        TemporaryDeviceRoot root;
        HostedPage page(root, {Value::Dictionary{{"cell", "PSGroupCell"}, {"footerText", c.footer}},
                               row("Speed", "speed"),
                               Value::Dictionary{{"cell", "PSGroupCell"}, {"label", "Next"}},
                               row("Size", "size")});
        Ref<UITableView> table = page.controller->table();
        page.host->settle();
        const auto& layouts = table->sectionLayouts();
        ASSERT_EQ(layouts.size(), 2u);
        const CGFloat line = NSStringDrawing::lineHeightForFont(table->sectionTextFont());
        // At least as high as one line of a header.
        EXPECT_NEAR(layouts[0].footer.size.height, std::max(18.0, line * c.lines), 1) << c.footer;
        // The next header starts below the footer, never inside it.
        EXPECT_GT(layouts[1].header.origin.y, CGRectGetMaxY(layouts[0].footer)) << c.footer;
    }

    // A header view with no height of its own takes the height its content wants.
    class Banner : public UIView {
    public:
        CGSize intrinsicContentSize() const override { return CGSizeMake(100, 120); }
    };
    TemporaryDeviceRoot root;
    HostedPage page(root, {row("Speed", "speed")});
    Ref<UITableView> table = page.controller->table();
    table->setTableHeaderView(alloc<Banner>()->init());
    page.host->settle();
    EXPECT_EQ(table->tableHeaderView()->frame(), CGRectMake(0, 0, table->bounds().size.width, 120));
    EXPECT_EQ(page.cell(0)->frame().origin.y, 120 + UITableView::kSectionSpacing);
}

TEST(ListController, ATapOnARowThroughTheWindowSelectsItAndTheRowHearsIt) {
    TemporaryDeviceRoot root;
    HostedPage page(
        root, {row("Speed", "speed", {{"cellClass", "TestRecordingCell"}}), row("Size", "size")});
    auto recorder = page.cell<TestRecordingCell>(0);
    ASSERT_NE(recorder, nullptr);
    page.tapRow(0);
    // Selected, then deselected by the page, as Settings does.
    EXPECT_EQ(recorder->heard, (std::vector<bool>{true, false}));
    EXPECT_FALSE(recorder->isHighlighted());
    // A touch that slides off the row before lifting selects nothing.
    const CGRect frame = recorder->convertRectToView(recorder->bounds(), nullptr);
    page.window->sendTouchBegan(CGPointMake(30, CGRectGetMidY(frame)));
    EXPECT_TRUE(recorder->isHighlighted());
    page.window->sendTouchMoved(CGPointMake(30, CGRectGetMaxY(frame) + 60));
    page.window->sendTouchEnded(CGPointMake(30, CGRectGetMaxY(frame) + 60));
    EXPECT_EQ(recorder->heard.size(), 2u);
    Ref<UITableView> table = page.controller->table();
    EXPECT_EQ(table->indexPathForCell(*page.cell(1))->row(), 1);
    EXPECT_EQ(table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(5, 0)), nullptr);
}

} // namespace
