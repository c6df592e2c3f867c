#include <gtest/gtest.h>

#include <UIKit/UIImageView.h>
#include <UIKit/UILabel.h>
#include <UIKit/UITapGestureRecognizer.h>
#include <objc/runtime.h>

#include "HostedPage.h"
#include "PickerRowHarness.h"

namespace {

using PickerRow::checkLook;
using PickerRow::choice;
using PickerRow::choices;
using PickerRow::marked;
using PickerRow::notifications;
using PickerRow::threeChoices;

constexpr const char* kDomainFile = "/var/mobile/Library/Preferences/com.example.test.plist";

// The window and its table made `width` points wide and laid out.
void layOutAtWidth(HostedPage& page, CGFloat width) {
    page.window->setFrame(CGRectMake(0, 0, width, 844));
    page.controller->view()->setFrame(page.window->bounds());
    page.window->layoutIfNeeded();
}

TEST(PickerCell, BuildsTheRowFromItsSpecifier) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {PickerRow::row(threeChoices(), {{"height", 44}})});
    auto cell = page.cell<KLPickerCell>(0);
    ASSERT_NE(cell, nullptr);
    // The bundle's height gives way to the row's own.
    EXPECT_EQ(page.specifier(0)->propertyForKey("height"), Value(200));
    EXPECT_EQ(page.controller->table()->sections()[0].rows[0].height, 200);

    Ref<UIStackView> stack = cell->stackView();
    ASSERT_NE(stack, nullptr);
    EXPECT_EQ(stack->superview(), cell);
    EXPECT_FALSE(stack->translatesAutoresizingMaskIntoConstraints());
    EXPECT_EQ(stack->axis(), UILayoutConstraintAxisHorizontal);
    EXPECT_EQ(stack->distribution(), UIStackViewDistributionEqualSpacing);
    EXPECT_EQ(stack->alignment(), UIStackViewAlignmentCenter);
    EXPECT_EQ(stack->spacing(), 0);

    const auto views = choices(cell);
    const char* titles[] = {"List", "Cards", "Grid"};
    ASSERT_EQ(views.size(), 3u);
    for (size_t i = 0; i < views.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_NE(views[i], nullptr);
        EXPECT_EQ(views[i]->tag(), static_cast<NSInteger>(i));
        EXPECT_EQ(views[i]->cell(), cell);
        EXPECT_EQ(views[i]->label()->text(), titles[i]);
        EXPECT_EQ(views[i]->label()->textAlignment(), NSTextAlignmentCenter);
        EXPECT_EQ(views[i]->imgView()->contentMode(), UIViewContentModeScaleAspectFit);
        EXPECT_EQ(views[i]->checkImageView()->contentMode(), UIViewContentModeScaleAspectFit);
        // Picture, caption and check mark, in that order, on the view itself.
        const auto& subviews = views[i]->subviews();
        ASSERT_GE(subviews.size(), 3u);
        EXPECT_EQ(subviews[subviews.size() - 3], views[i]->imgView());
        EXPECT_EQ(subviews[subviews.size() - 2], views[i]->label());
        EXPECT_EQ(subviews[subviews.size() - 1], views[i]->checkImageView());
        ASSERT_EQ(views[i]->gestureRecognizers().size(), 1u);
        EXPECT_NE(objc_cast<UITapGestureRecognizer>(views[i]->gestureRecognizers()[0]), nullptr);
    }
}

TEST(PickerCell, ANewCellMarksNothingAndStoresNothing) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {PickerRow::row(threeChoices())}, {{"layout", 1}});
    const std::string before = root.read(kDomainFile);
    SDKEventLog::clear();
    // Made by name, as the list controller makes it, for the page's specifier.
    Class cls = objc_getClass("KLPickerCell");
    ASSERT_NE(cls, nullptr);
    const Id arguments[] = {Id(0), Id("picker"), Id(page.specifier(0))};
    Id made = objc_msgSend(objc_msgSend(cls, "alloc"),
                           "initWithStyle:reuseIdentifier:specifier:", arguments);
    auto cell = made.object<KLPickerCell>();
    ASSERT_NE(cell, nullptr);
    EXPECT_TRUE(marked(cell).empty());
    for (const auto& view : choices(cell)) {
        EXPECT_EQ(checkLook(view), "circle gray");
        EXPECT_FALSE(view->enabled());
    }
    EXPECT_EQ(root.read(kDomainFile), before);
    EXPECT_EQ(notifications(), 0u);
}

TEST(PickerCell, ChoicesKeepTheirShareOfTheWidthAtCreation) {
    // The cell is 320 points wide when made, so each of three takes 320 / 3
    // wherever the row ends up; equal spacing spreads what is left over.
    const CGFloat windowWidths[] = {352, 390, 768};
    for (CGFloat windowWidth : windowWidths) {
        SCOPED_TRACE(windowWidth);
        TemporaryDeviceRoot root;
        HostedPage page(root, {PickerRow::row(threeChoices())});
        auto cell = page.cell<KLPickerCell>(0);
        layOutAtWidth(page, windowWidth);
        const CGRect row = cell->bounds();
        ASSERT_EQ(row.size.height, 200);
        ASSERT_GE(row.size.width, 320);
        EXPECT_EQ(cell->stackView()->frame(), row);
        const CGFloat share = 320.0 / 3;
        const CGFloat gap = (row.size.width - 320) / 2;
        const auto views = choices(cell);
        for (size_t i = 0; i < views.size(); ++i) {
            SCOPED_TRACE(i);
            const CGRect frame = views[i]->frame();
            EXPECT_NEAR(frame.origin.x, i * (share + gap), 1e-6);
            EXPECT_NEAR(frame.size.width, share, 1e-6);
            EXPECT_EQ(frame.origin.y, 10);
            EXPECT_EQ(frame.size.height, 180);
        }
        EXPECT_NEAR(CGRectGetMaxX(views.back()->frame()), row.size.width, 1e-6);
    }
}

TEST(PickerCell, AChoiceStacksPictureCaptionAndCheckMark) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {PickerRow::row(threeChoices())});
    auto cell = page.cell<KLPickerCell>(0);
    page.window->layoutIfNeeded();
    const CGFloat share = 320.0 / 3;
    for (const auto& view : choices(cell)) {
        SCOPED_TRACE(view->tag());
        const CGRect picture = view->imgView()->frame();
        EXPECT_NEAR(picture.origin.x, share / 4, 1e-6);
        EXPECT_NEAR(picture.size.width, share / 2, 1e-6);
        EXPECT_NEAR(picture.origin.y, 16, 1e-9);
        EXPECT_NEAR(CGRectGetMaxY(picture), 124, 1e-9);
        const CGRect caption = view->label()->frame();
        const CGFloat captionHeight = view->label()->intrinsicContentSize().height;
        ASSERT_GT(captionHeight, 0);
        EXPECT_NEAR(caption.origin.x, 0, 1e-6);
        EXPECT_NEAR(caption.size.width, share, 1e-6);
        EXPECT_NEAR(caption.origin.y, 124, 1e-9);
        EXPECT_NEAR(caption.size.height, captionHeight, 1e-9);
        const CGRect check = view->checkImageView()->frame();
        EXPECT_NEAR(check.origin.x, (share - 25) / 2, 1e-6);
        EXPECT_NEAR(check.origin.y, 124 + captionHeight + 5, 1e-9);
        EXPECT_EQ(check.size, CGSizeMake(25, 25));
    }
}

TEST(PickerCell, TheFirstRefreshMarksTheStoredChoiceAndStoresItAgain) {
    struct Case {
        const char* name;
        Value stored;
        int marked;
    };
    const Case cases[] = {
        {"nothing stored", Value(), 0},
        {"integer", Value(1), 1},
        {"text", Value("2"), 2},
        {"real", Value(2.0), 2},
        {"real with a fraction", Value(1.9), 1},
        {"true", Value(true), 1},
        {"text with trailing words", Value("1 please"), 1},
        {"text that is no number", Value("grid"), 0},
        // Only the low 32 bits of a wider integer count, as NSNumber's intValue.
        {"wide integer", Value(4294967298LL), 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TemporaryDeviceRoot root;
        Value::Dictionary stored;
        if (!c.stored.isNil()) {
            stored["layout"] = c.stored;
        }
        HostedPage page(root, {PickerRow::row(threeChoices())}, stored);
        auto cell = page.cell<KLPickerCell>(0);
        EXPECT_EQ(marked(cell), std::vector<int>{c.marked});
        EXPECT_EQ(checkLook(choices(cell)[c.marked]), "checkmark.circle.fill blue");
        const Value now = page.stored("layout");
        EXPECT_EQ(now.type(), Value::Type::Integer);
        EXPECT_EQ(now, Value(c.marked));
        EXPECT_EQ(notifications(), 1u);
    }
}

TEST(PickerCell, ANumberThatNamesNoChoiceMarksNothingAndStoresNothing) {
    struct Case {
        const char* name;
        Value choices;
        Value stored;
    };
    const Case cases[] = {
        {"too large", threeChoices(), Value(3)},
        {"negative", threeChoices(), Value(-1)},
        {"text too large", threeChoices(), Value("7")},
        {"real beyond 32 bits", threeChoices(), Value(1e10)},
        {"no choices", Value(), Value(0)},
        {"no choices, nothing stored", Value(), Value()},
        {"empty choices", Value(Value::Array{}), Value(0)},
        {"choices not a list", Value("List, Cards"), Value(0)},
        {"choices a dictionary", Value(Value::Dictionary{{"title", "List"}}), Value()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TemporaryDeviceRoot root;
        Value::Dictionary stored{{"other", "kept"}};
        if (!c.stored.isNil()) {
            stored["layout"] = c.stored;
        }
        HostedPage page(root, {PickerRow::row(c.choices)}, stored);
        const std::string before = root.read(kDomainFile);
        auto cell = page.cell<KLPickerCell>(0);
        ASSERT_NE(cell, nullptr);
        EXPECT_TRUE(marked(cell).empty());
        page.controller->reloadSpecifier(page.specifier(0));
        page.window->layoutIfNeeded();
        EXPECT_TRUE(marked(cell).empty());
        EXPECT_EQ(root.read(kDomainFile), before);
        EXPECT_EQ(notifications(), 0u);
    }
}

TEST(PickerCell, EntriesWithoutTextCountAsMissingKeys) {
    TemporaryDeviceRoot root;
    const Value entries(Value::Array{
        Value("List"),
        Value(7),
        Value(Value::Dictionary{{"title", 5}, {"image", Value(Value::Array{})}}),
        Value(Value::Dictionary{{"image", ":root:Library/x.png"}}),
        Value(Value::Dictionary{{"title", "Grid"}, {"ignored", true}}),
    });
    HostedPage page(root, {PickerRow::row(entries)});
    auto cell = page.cell<KLPickerCell>(0);
    const auto views = choices(cell);
    ASSERT_EQ(views.size(), 5u);
    const std::optional<std::string> captions[] = {std::nullopt, std::nullopt, std::nullopt,
                                                   std::nullopt, "Grid"};
    for (size_t i = 0; i < views.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(views[i]->tag(), static_cast<NSInteger>(i));
        EXPECT_EQ(views[i]->label()->text(), captions[i]);
        EXPECT_EQ(views[i]->imgView()->image(), nullptr);
    }
    // Every one of them can still be picked.
    PickerRow::tap(page.window, views[3]);
    EXPECT_EQ(marked(cell), std::vector<int>{3});
    EXPECT_EQ(page.stored("layout"), Value(3));
}

TEST(PickerCell, WithoutTheUtilitiesNoChoiceHasAPicture) {
    // This program does not load libklutils, so no path is corrected, not
    // even one without the placeholder.
    ASSERT_EQ(objc_getClass("KLUtilities"), nullptr);
    TemporaryDeviceRoot root;
    const std::string png = PickerRow::examplePicture("list");
    root.write("/Library/a.png", png);
    root.write("/var/jb/Library/a.png", png);
    ASSERT_NE(UIImage::imageNamed("/Library/a.png"), nullptr);
    HostedPage page(root, {PickerRow::row(Value(Value::Array{
                              choice("Root", ":root:Library/a.png"),
                              choice("Plain", "/Library/a.png"),
                          }))});
    auto cell = page.cell<KLPickerCell>(0);
    for (const auto& view : choices(cell)) {
        EXPECT_EQ(view->imgView()->image(), nullptr);
    }
    EXPECT_EQ(choices(cell)[1]->label()->text(), "Plain");
    EXPECT_EQ(marked(cell), std::vector<int>{0});
}

} // namespace
