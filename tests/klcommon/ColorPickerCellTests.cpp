#include <cmath>

#include <gtest/gtest.h>

#include <Foundation/SDKEventLog.h>
#include <QuartzCore/CAShapeLayer.h>
#include <UIKit/UIColorPickerViewController.h>
#include <UIKit/UITableView.h>

#include "HostedPage.h"
#include "KLColorPickerCell.h"
#include "automation/ColorPickerProcess.h"

namespace {

Value::Dictionary colorRow(Value::Dictionary extra = {}) {
    Value::Dictionary row{
        {"cell", "PSTableCell"}, {"cellClass", "KLColorPickerCell"},
        {"label", "Tint"},       {"defaults", HostedPage::kDomain},
        {"key", "tint"},         {"PostNotification", "com.example.test/changed"}};
    for (auto& [key, value] : extra) {
        row[key] = value;
    }
    return row;
}

Ref<UIColorPickerViewController> presentedPicker(HostedPage& page) {
    return objc_cast<UIColorPickerViewController>(page.controller->presentedViewController());
}

CGColor fillOf(const Ref<KLColorPickerCell>& cell) {
    auto shape =
        std::dynamic_pointer_cast<CAShapeLayer>(cell->accessoryView()->layer()->sublayers().at(0));
    return *shape->fillColor();
}

TEST(ColorPickerCell, GrowsWithItsTwoLinesAtTheLargerTextSizesAndKeeps45Below) {
    for (UIContentSizeCategory size :
         {UIContentSizeCategory::ExtraSmall, UIContentSizeCategory::Large,
          UIContentSizeCategory::ExtraExtraExtraLarge,
          UIContentSizeCategory::AccessibilityExtraLarge}) {
        TemporaryDeviceRoot root;
        DeviceLook look;
        look.contentSize = size;
        HostedPage page(root, {colorRow({{"fallbackHex", "#FF8000"}})}, {}, "", look);
        auto cell = page.cell<KLColorPickerCell>(0);
        ASSERT_NE(cell, nullptr);
        const CGFloat lines =
            cell->textLabel()->font()->lineHeight() + cell->detailTextLabel()->font()->lineHeight();
        const long height = page.specifier(0)->propertyForKey("height").integerValue();
        if (lines <= 45) {
            EXPECT_EQ(height, 45);
        } else {
            EXPECT_EQ(height, static_cast<long>(std::ceil(lines + 8)));
        }
        // Both texts lie inside the row.
        EXPECT_LE(CGRectGetMaxY(cell->detailTextLabel()->frame()), cell->bounds().size.height);
        EXPECT_GE(cell->textLabel()->frame().origin.y, 0);
    }
}

TEST(ColorPickerCell, ShowsFallbackAndBuildsTheSwatch) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {colorRow({{"fallbackHex", "#FF8000"}, {"height", 44}})});
    auto cell = page.cell<KLColorPickerCell>(0);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->detailTextLabel()->text(), "#FF8000");
    EXPECT_EQ(cell->style(), UITableViewCellStyleSubtitle);
    EXPECT_EQ(page.specifier(0)->propertyForKey("height").intValue(), 45);
    EXPECT_EQ(page.controller->table()->sections()[0].rows[0].height, 45);

    Ref<UIView> swatch = cell->accessoryView();
    ASSERT_NE(swatch, nullptr);
    EXPECT_EQ(swatch->frame().size, CGSizeMake(29, 29));
    EXPECT_TRUE(swatch->clipsToBounds());
    EXPECT_EQ(swatch->layer()->cornerRadius(), 14.5);
    EXPECT_EQ(swatch->layer()->borderWidth(), 3.0);
    EXPECT_EQ(*swatch->layer()->borderColor(), *UIColor::opaqueSeparatorColor()->CGColor());
    EXPECT_EQ(fillOf(cell), (CGColor{1.0, 128 / 255.0, 0.0, 1.0}));
    // The fallback is never written.
    EXPECT_TRUE(page.stored("tint").isNil());
    // The title takes the tint colour.
    EXPECT_TRUE(UIColorEqual(cell->textLabel()->textColor(), cell->tintColor()));
    EXPECT_EQ(cell->textLabel()->text(), "Tint");
}

TEST(ColorPickerCell, TapPresentsPickerWithLocalisedTitleAndNeverSelects) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {colorRow({{"fallbackHex", "00FF00"}, {"localizationTable", "Root"}})},
                    {}, "\"Tint\" = \"Teinte\";\n");
    auto cell = page.cell<KLColorPickerCell>(0);
    page.tapRow(0);
    auto picker = presentedPicker(page);
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->title(), "Teinte");
    EXPECT_FALSE(picker->supportsAlpha());
    EXPECT_EQ(picker->delegate().get(),
              static_cast<UIColorPickerViewControllerDelegate*>(cell.get()));
    EXPECT_TRUE(UIColorEqual(picker->selectedColor(), UIColor::colorWithRed(0, 1, 0, 1)));
    EXPECT_FALSE(cell->isSelected());
    EXPECT_FALSE(cell->textLabel()->isHighlighted());
}

TEST(ColorPickerCell, EveryPickRewritesTheDomainFile) {
    struct Case {
        Value::Dictionary extra;
        const char* first;
        const char* last;
    };
    const Case cases[] = {
        {{{"supportsAlpha", true}}, "#FF7F007F", "#0000FFFF"},
        // Present but false still turns alpha on.
        {{{"supportsAlpha", false}}, "#FF7F007F", "#0000FFFF"},
        {{}, "#FF7F00", "#0000FF"},
    };
    for (const Case& c : cases) {
        TemporaryDeviceRoot root;
        HostedPage page(root, {colorRow(c.extra)});
        auto cell = page.cell<KLColorPickerCell>(0);
        page.tapRow(0);
        auto picker = presentedPicker(page);
        ASSERT_NE(picker, nullptr);
        ColorPickerProcess::reportPick(picker, UIColor::colorWithRed(1.0, 0.5, 0.0, 0.5));
        EXPECT_EQ(page.stored("tint"), Value(c.first));
        EXPECT_EQ(cell->detailTextLabel()->text(),
                  KLColorPickerCell::legibleStringFromHex(std::string(c.first)));
        ColorPickerProcess::reportPick(picker, UIColor::colorWithRed(0, 0, 1, 1));
        EXPECT_EQ(page.stored("tint"), Value(c.last));
        EXPECT_EQ(fillOf(cell), (CGColor{0, 0, 1, 1}));
        EXPECT_EQ(SDKEventLog::records<SDKEvents::Notification>().size(), 2u);
    }
}

TEST(ColorPickerCell, PickAnimatesSwatchAndTextWithTransitions) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {colorRow()});
    page.tapRow(0);
    SDKEventLog::clear();
    ColorPickerProcess::reportPick(presentedPicker(page), UIColor::redColor());
    auto transitions = SDKEventLog::records<SDKEvents::Transition>();
    ASSERT_EQ(transitions.size(), 2u);
    EXPECT_EQ(transitions[0].viewClassName, "UIView");
    EXPECT_EQ(transitions[0].duration, 0.3);
    EXPECT_EQ(transitions[0].options, 0L);
    EXPECT_EQ(transitions[1].viewClassName, "UILabel");
    EXPECT_EQ(transitions[1].options, 5L << 20);
}

TEST(ColorPickerCell, StoredValueWinsAndReloadKeepsTheShownColour) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {colorRow({{"fallbackHex", "#FF8000"}, {"supportsAlpha", true}})},
                    {{"tint", "#11223344"}});
    auto cell = page.cell<KLColorPickerCell>(0);
    EXPECT_EQ(cell->detailTextLabel()->text(), "#112233:0.27");
    EXPECT_EQ(fillOf(cell), (CGColor{0x11 / 255.0, 0x22 / 255.0, 0x33 / 255.0, 0x44 / 255.0}));

    page.store({{"tint", "#000000FF"}});
    page.controller->reloadSpecifier(page.specifier(0));
    EXPECT_EQ(cell->detailTextLabel()->text(), "#112233:0.27");
    EXPECT_EQ(fillOf(cell).red, 0x11 / 255.0);
}

TEST(ColorPickerCell, WithoutAlphaAnEightDigitFallbackShowsItsFractionButIsOpaque) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {colorRow({{"fallbackHex", "#FF80007F"}})});
    auto cell = page.cell<KLColorPickerCell>(0);
    EXPECT_EQ(cell->detailTextLabel()->text(), "#FF8000:0.50");
    EXPECT_EQ(fillOf(cell).alpha, 1.0);
}

TEST(ColorPickerCell, MissingOrForeignValuesNeverCrash) {
    TemporaryDeviceRoot root;
    // Neither stored value nor fallback; a stored number instead of text.
    HostedPage page(root, {colorRow(), colorRow({{"key", "other"}, {"fallbackHex", "#0000FF"}})},
                    {{"other", 42}});
    auto bare = page.cell<KLColorPickerCell>(0);
    EXPECT_EQ(bare->detailTextLabel()->text(), "");
    EXPECT_EQ(fillOf(bare), (CGColor{0, 0, 0, 1}));
    auto foreign = page.cell<KLColorPickerCell>(1);
    EXPECT_EQ(foreign->detailTextLabel()->text(), "#0000FF");
    EXPECT_EQ(page.stored("other"), Value(42));
}

TEST(ColorPickerCell, WithoutAViewControllerATapPresentsNothing) {
    auto cell =
        alloc<KLColorPickerCell>()->initWithStyle(UITableViewCellStyleDefault, "x", nullptr);
    ASSERT_NE(cell, nullptr);
    cell->setSelected(true, true);
    EXPECT_FALSE(cell->isSelected());
    EXPECT_EQ(cell->detailTextLabel()->text(), "");
}

TEST(ColorPickerCell, TintChangesRecolourTheTitle) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {colorRow()});
    auto cell = page.cell<KLColorPickerCell>(0);
    page.window->setTintColor(UIColor::systemRedColor());
    EXPECT_TRUE(UIColorEqual(cell->textLabel()->textColor(), UIColor::systemRedColor()));
    EXPECT_TRUE(UIColorEqual(cell->textLabel()->highlightedTextColor(), UIColor::systemRedColor()));
}

TEST(ColorPickerCell, IsFoundByName) {
    EXPECT_EQ(objc_getClass("KLColorPickerCell"), &OBJC_CLASS_$_KLColorPickerCell);
    EXPECT_TRUE(class_respondsToSelector(objc_getClass("KLColorPickerCell"),
                                         "initWithStyle:reuseIdentifier:specifier:"));
}

} // namespace
