#include <gtest/gtest.h>

#include <UIKit/UIColor.h>
#include <UIKit/UIImageView.h>
#include <UIKit/UILabel.h>
#include <UIKit/UIStackView.h>
#include <objc/runtime.h>

#include "PickerRowHarness.h"

namespace {

using namespace PickerRow;
using Marks = std::vector<int>;

constexpr const char* kFile = "/var/mobile/Library/Preferences/com.example.test.plist";

TEST(PickerCell, ChoicesKeepTheirShareOfTheWidthTheCellWasMadeWith) {
    // Made 320 points wide, each of three takes 320 / 3 wherever the row ends
    // up; equal spacing spreads the rest. The bundle's height gives way to 200.
    for (CGFloat windowWidth : {352.0, 390.0, 768.0}) {
        SCOPED_TRACE(windowWidth);
        TemporaryDeviceRoot root;
        HostedPage page(root, {row(kThree, {{"height", 44}})});
        page.window->setFrame(CGRectMake(0, 0, windowWidth, 844));
        page.controller->view()->setFrame(page.window->bounds());
        page.window->layoutIfNeeded();
        EXPECT_TRUE(SDKEventLog::records<SDKEvents::Error>().empty());
        auto cell = page.cell<KLPickerCell>(0);
        ASSERT_EQ(cell->bounds().size.height, 200);
        const CGFloat share = 320.0 / 3, gap = (cell->bounds().size.width - 320) / 2;
        for (const auto& view : choices(cell)) {
            const NSInteger i = view->tag();
            SCOPED_TRACE(i);
            const CGRect frame = view->frame(), picture = view->imgView()->frame();
            const CGRect caption = view->label()->frame(), check = view->checkImageView()->frame();
            const CGFloat captionHeight = view->label()->intrinsicContentSize().height;
            EXPECT_NEAR(frame.origin.x, i * (share + gap), 1e-6);
            EXPECT_NEAR(frame.size.width, share, 1e-6);
            EXPECT_EQ(frame.origin.y, 10);
            EXPECT_EQ(frame.size.height, 180);
            EXPECT_NEAR(picture.origin.x, share / 4, 1e-6);
            EXPECT_NEAR(picture.size.width, share / 2, 1e-6);
            EXPECT_NEAR(picture.origin.y, 16, 1e-9);
            EXPECT_NEAR(CGRectGetMaxY(picture), 124, 1e-9);
            EXPECT_EQ(caption.origin.y, CGRectGetMaxY(picture));
            EXPECT_NEAR(caption.size.width, share, 1e-6);
            EXPECT_NEAR(caption.size.height, captionHeight, 1e-9);
            EXPECT_EQ(check.size, CGSizeMake(25, 25));
            EXPECT_NEAR(check.origin.x, (share - 25) / 2, 1e-6);
            EXPECT_NEAR(check.origin.y, CGRectGetMaxY(caption) + 5, 1e-9);
        }
        EXPECT_EQ(choices(cell).size(), 3u);
    }
}

TEST(PickerCell, ARefreshMarksTheStoredChoiceAndStoresItAgain) {
    struct Case {
        const char* name;
        Value choices, stored;
        Marks marks;
    };
    const Case cases[] = {
        {"nothing stored", kThree, Value(), {0}},
        {"integer", kThree, Value(1), {1}},
        {"text", kThree, Value("2"), {2}},
        {"real", kThree, Value(2.0), {2}},
        {"low 32 bits of a wider integer", kThree, Value(4294967298LL), {2}},
        // Names no choice: nothing is marked and nothing stored.
        {"too large", kThree, Value(3), {}},
        {"negative", kThree, Value(-1), {}},
        {"no choices", Value(), Value(0), {}},
        {"empty choices", Value(Value::Array{}), Value(), {}},
        {"choices not a list", Value("List, Cards"), Value(0), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TemporaryDeviceRoot root;
        Value::Dictionary stored{{"other", "kept"}};
        if (!c.stored.isNil()) {
            stored["layout"] = c.stored;
        }
        HostedPage page(root, {row(c.choices)}, stored);
        const std::string before = root.read(kFile);
        auto cell = page.cell<KLPickerCell>(0);
        page.controller->reloadSpecifier(page.specifier(0));
        EXPECT_EQ(marked(cell), c.marks);
        if (c.marks.empty()) {
            EXPECT_EQ(root.read(kFile), before);
            EXPECT_EQ(notifications(), 0u);
        } else {
            EXPECT_EQ(page.stored("layout").type(), Value::Type::Integer);
            EXPECT_EQ(page.stored("layout"), Value(c.marks[0]));
            EXPECT_EQ(notifications(), 2u);
        }
    }
}

TEST(PickerCell, ATapPicksOneChoiceAndARefreshMarksWithoutClearing) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {row(kThree)});
    auto cell = page.cell<KLPickerCell>(0);
    ASSERT_EQ(marked(cell), Marks{0});
    tap(page.window, choices(cell)[2]);
    EXPECT_EQ(marked(cell), Marks{2});
    EXPECT_EQ(page.stored("layout"), Value(2));
    EXPECT_EQ(notifications(), 2u);
    // The picked choice again: nothing is written.
    const std::string file = root.read(kFile);
    tap(page.window, choices(cell)[2]);
    EXPECT_EQ(root.read(kFile), file);
    EXPECT_EQ(notifications(), 2u);
    // Changed elsewhere, then reloaded: the stored choice joins the marked one.
    page.store({{"layout", 0}});
    page.controller->reloadSpecifier(page.specifier(0));
    EXPECT_EQ(marked(cell), (Marks{0, 2}));
    tap(page.window, choices(cell)[1]);
    EXPECT_EQ(marked(cell), Marks{1});
}

TEST(PickerCell, AChoiceWhoseCellIsGoneIsMarkedButStoresNothing) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {row(kThree)}, {{"layout", 0}});
    const std::string file = root.read(kFile);
    // A second cell for the same specifier, made by name: it marks and
    // stores nothing until refreshed.
    const Id arguments[] = {Id(0), Id(), Id(page.specifier(0))};
    auto cell = objc_msgSend(objc_msgSend(objc_getClass("KLPickerCell"), "alloc"),
                             "initWithStyle:reuseIdentifier:specifier:", arguments)
                    .object<KLPickerCell>();
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(marked(cell), Marks{});
    EXPECT_NE(
        objc_msgSend(objc_getClass("KLPickerChoiceView"), "alloc").object<KLPickerChoiceView>(),
        nullptr);
    cell->refreshCellContentsWithSpecifier(page.specifier(0));
    const auto views = choices(cell);
    cell.reset();
    ASSERT_EQ(views[2]->cell(), nullptr);
    const size_t before = notifications();
    Ref<UIWindow> window = alloc<UIWindow>()->initWithFrame(CGRectMake(0, 0, 320, 200));
    window->addSubview(views[2]);
    tap(window, views[2]);
    EXPECT_TRUE(views[2]->enabled());
    EXPECT_TRUE(views[0]->enabled());
    EXPECT_EQ(root.read(kFile), file);
    EXPECT_EQ(notifications(), before);
}

TEST(PickerCell, EntriesWithoutTextCountAsMissingKeysAndNothingLoadsWithoutTheUtilities) {
    // This program does not load libklutils: no path is corrected, so no
    // choice has a picture, even one whose path needs no correction.
    ASSERT_EQ(objc_getClass("KLUtilities"), nullptr);
    TemporaryDeviceRoot root;
    std::ifstream example(std::string(KL_SOURCE_DIR) +
                          "/examples/device-root/var/jb/Library/"
                          "PreferenceBundles/Demo.bundle/layout-list.png");
    root.write("/Library/a.png", std::string(std::istreambuf_iterator<char>(example), {}));
    ASSERT_NE(UIImage::imageNamed("/Library/a.png"), nullptr);
    HostedPage page(root, {row(Value(Value::Array{
                              Value("List"),
                              Value(Value::Dictionary{{"title", 5}, {"image", 6}}),
                              choice("Root", ":root:Library/a.png"),
                              choice("Plain", "/Library/a.png"),
                          }))});
    const auto views = choices(page.cell<KLPickerCell>(0));
    const std::optional<std::string> captions[] = {std::nullopt, std::nullopt, "Root", "Plain"};
    ASSERT_EQ(views.size(), 4u);
    for (size_t i = 0; i < views.size(); ++i) {
        EXPECT_EQ(views[i]->label()->text(), captions[i]);
        EXPECT_EQ(views[i]->imgView()->image(), nullptr);
    }
    tap(page.window, views[1]);
    EXPECT_EQ(page.stored("layout"), Value(1));
}

} // namespace
