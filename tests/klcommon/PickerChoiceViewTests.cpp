#include <gtest/gtest.h>

#include <objc/runtime.h>

#include "HostedPage.h"
#include "PickerRowHarness.h"

namespace {

using PickerRow::checkLook;
using PickerRow::choices;
using PickerRow::marked;
using PickerRow::notifications;
using PickerRow::threeChoices;

constexpr const char* kDomainFile = "/var/mobile/Library/Preferences/com.example.test.plist";

std::vector<std::string> looks(const Ref<KLPickerCell>& cell) {
    std::vector<std::string> shown;
    for (const auto& view : choices(cell)) {
        shown.push_back(checkLook(view));
    }
    return shown;
}

TEST(PickerChoiceView, ATapPicksTheChoiceAndStoresItsPosition) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {PickerRow::row(threeChoices())});
    auto cell = page.cell<KLPickerCell>(0);
    ASSERT_EQ(marked(cell), std::vector<int>{0});
    const size_t before = notifications();

    PickerRow::tap(page.window, choices(cell)[2]);
    EXPECT_EQ(looks(cell), (std::vector<std::string>{"circle gray", "circle gray",
                                                     "checkmark.circle.fill blue"}));
    EXPECT_EQ(marked(cell), std::vector<int>{2});
    EXPECT_EQ(page.stored("layout").type(), Value::Type::Integer);
    EXPECT_EQ(page.stored("layout"), Value(2));
    EXPECT_EQ(notifications(), before + 1);

    // The picked choice again: nothing changes and nothing is written.
    const std::string file = root.read(kDomainFile);
    PickerRow::tap(page.window, choices(cell)[2]);
    EXPECT_EQ(marked(cell), std::vector<int>{2});
    EXPECT_EQ(root.read(kDomainFile), file);
    EXPECT_EQ(notifications(), before + 1);
}

TEST(PickerChoiceView, EveryPartOfAChoiceTakesTheTap) {
    struct Case {
        const char* part;
        CGFloat y; // from the choice's top
    };
    // The picture, the caption, the check mark and the empty edges.
    const Case cases[] = {
        {"top edge", 4}, {"picture", 70}, {"caption", 130}, {"mark", 162}, {"bottom edge", 178}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.part);
        TemporaryDeviceRoot root;
        HostedPage page(root, {PickerRow::row(threeChoices())});
        auto cell = page.cell<KLPickerCell>(0);
        page.window->layoutIfNeeded();
        const auto view = choices(cell)[1];
        const CGPoint point =
            view->convertPointToView(CGPointMake(view->bounds().size.width / 2, c.y), nullptr);
        page.window->tapAtPoint(point);
        EXPECT_EQ(marked(cell), std::vector<int>{1});
        EXPECT_EQ(page.stored("layout"), Value(1));
    }
}

TEST(PickerChoiceView, SettingThePickedStateShowsItAndStoresOnlyWhenPicked) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {PickerRow::row(threeChoices())}, {{"layout", 0}});
    auto cell = page.cell<KLPickerCell>(0);
    const auto view = choices(cell)[2];
    const size_t before = notifications();

    view->setEnabled(true);
    EXPECT_TRUE(view->enabled());
    EXPECT_EQ(checkLook(view), "checkmark.circle.fill blue");
    EXPECT_EQ(page.stored("layout"), Value(2));
    // Already picked: stored again all the same.
    view->setEnabled(true);
    EXPECT_EQ(notifications(), before + 2);

    page.store({{"layout", 0}});
    view->setEnabled(false);
    EXPECT_FALSE(view->enabled());
    EXPECT_EQ(checkLook(view), "circle gray");
    EXPECT_EQ(page.stored("layout"), Value(0));
    EXPECT_EQ(notifications(), before + 2);
}

TEST(PickerChoiceView, ARefreshMarksTheStoredChoiceWithoutClearingTheOthers) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {PickerRow::row(threeChoices())}, {{"layout", 2}});
    auto cell = page.cell<KLPickerCell>(0);
    ASSERT_EQ(marked(cell), std::vector<int>{2});
    // Changed behind the page's back, then the row reloads.
    page.store({{"layout", 0}});
    page.controller->reloadSpecifier(page.specifier(0));
    EXPECT_EQ(marked(cell), (std::vector<int>{0, 2}));
    EXPECT_EQ(looks(cell), (std::vector<std::string>{"checkmark.circle.fill blue", "circle gray",
                                                     "checkmark.circle.fill blue"}));
    EXPECT_EQ(page.stored("layout"), Value(0));
    // A tap on another choice clears both.
    PickerRow::tap(page.window, choices(cell)[1]);
    EXPECT_EQ(marked(cell), std::vector<int>{1});
}

TEST(PickerChoiceView, WithItsCellGoneATapMarksItAndStoresNothing) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {PickerRow::row(threeChoices())}, {{"layout", 0}});
    // A second cell for the page's specifier, made by name and then let go.
    const Id arguments[] = {Id(0), Id(), Id(page.specifier(0))};
    Ref<KLPickerCell> cell = objc_msgSend(objc_msgSend(objc_getClass("KLPickerCell"), "alloc"),
                                          "initWithStyle:reuseIdentifier:specifier:", arguments)
                                 .object<KLPickerCell>();
    ASSERT_NE(cell, nullptr);
    cell->refreshCellContentsWithSpecifier(page.specifier(0));
    std::vector<Ref<KLPickerChoiceView>> views = choices(cell);
    ASSERT_EQ(views.size(), 3u);
    ASSERT_TRUE(views[0]->enabled());
    Weak<KLPickerCell> gone = cell;
    cell.reset();
    ASSERT_TRUE(gone.expired());
    EXPECT_EQ(views[2]->cell(), nullptr);

    Ref<UIWindow> window = alloc<UIWindow>()->initWithFrame(CGRectMake(0, 0, 320, 200));
    window->addSubview(views[2]);
    window->layoutIfNeeded();
    const std::string file = root.read(kDomainFile);
    const size_t before = notifications();
    PickerRow::tap(window, views[2]);
    EXPECT_TRUE(views[2]->enabled());
    EXPECT_EQ(checkLook(views[2]), "checkmark.circle.fill blue");
    EXPECT_TRUE(views[0]->enabled());
    EXPECT_EQ(root.read(kDomainFile), file);
    EXPECT_EQ(notifications(), before);
    // The class answers by name too.
    EXPECT_TRUE(objc_msgSend(Id(views[2]), "enabled").boolValue());
    EXPECT_FALSE(objc_msgSend(Id(views[1]), "enabled").boolValue());
}

} // namespace
