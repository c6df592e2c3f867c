#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <tuple>

#include <pango/pangocairo.h>

#include <Preferences/PSSwitchTableCell.h>
#include <UIKit/NSStringDrawing.h>
#include <UIKit/UIImage.h>
#include <UIKit/UIImageView.h>
#include <UIKit/UILabel.h>
#include <UIKit/UINavigationBar.h>
#include <UIKit/UINavigationController.h>
#include <UIKit/UIScreen.h>
#include <UIKit/UISwitch.h>

#include "HostedPage.h"
#include "RenderedPage.h"

namespace {

// Each test leaves the standard screen behind it.
class Appearance : public testing::Test {
protected:
    void TearDown() override { UIScreen::setMainScreen(nullptr); }

    static DeviceLook look(UIUserInterfaceStyle style, UIContentSizeCategory size) {
        DeviceLook settings;
        settings.appearance = style;
        settings.contentSize = size;
        return settings;
    }
};

TEST_F(Appearance, ThePageIsDrawnInTheSystemColoursOfEachAppearance) {
    for (auto [style, background, card, title] :
         {std::tuple{UIUserInterfaceStyleLight, 0xF2F2F7u, 0xFFFFFFu, 0x000000u},
          std::tuple{UIUserInterfaceStyleDark, 0x000000u, 0x1C1C1Eu, 0xFFFFFFu}}) {
        TemporaryDeviceRoot root;
        HostedPage page(root, {HostedPage::row("PSSwitchCell", "WWWWWWWW")}, {}, "",
                        look(style, UIContentSizeCategory::Large));
        page.host->settle();
        RenderedPage pixels(page.window, 2);
        ASSERT_TRUE(pixels.ok()) << pixels.error();
        auto rgb = [](uint32_t c) {
            return CGColor{(c >> 16) / 255.0, ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0, 1};
        };
        const CGRect cell = page.cell(0)->convertRectToView(page.cell(0)->bounds(), nullptr);
        EXPECT_TRUE(colorNear(pixels.at(4, CGRectGetMaxY(cell) + 10), rgb(background)));
        EXPECT_TRUE(colorNear(pixels.at(CGRectGetMidX(cell), CGRectGetMinY(cell) + 2), rgb(card)));
        // Somewhere in the title, a pixel of the label colour.
        const Ref<UILabel> label = page.cell(0)->textLabel();
        const CGRect text = label->convertRectToView(label->bounds(), nullptr);
        bool found = false;
        for (CGFloat x = text.origin.x; x < text.origin.x + 80 && !found; x += 1) {
            found = colorNear(pixels.at(x, CGRectGetMidY(text)), rgb(title), 0.1);
        }
        EXPECT_TRUE(found) << style;
    }
}

TEST_F(Appearance, TitlesWrapAtAccessibilitySizesWithoutOverlappingTheirNeighbours) {
    TemporaryDeviceRoot root;
    HostedPage page(
        root,
        {HostedPage::row("PSSwitchCell", "Show the banner on the lock screen too"),
         HostedPage::row("PSSwitchCell", "Sounds"), HostedPage::row("PSTitleValueCell", "Version")},
        {}, "", look(UIUserInterfaceStyleLight, UIContentSizeCategory::AccessibilityExtraLarge));
    page.host->settle();
    const CGFloat line = UIFont::preferredFontForTextStyle(UIFontTextStyle::Body)->lineHeight();
    EXPECT_EQ(UIFont::preferredFontForTextStyle(UIFontTextStyle::Body)->pointSize(), 40);
    CGFloat previousBottom = 0;
    for (size_t i = 0; i < 3; ++i) {
        const Ref<PSTableCell> cell = page.cell(i);
        const CGRect frame = cell->convertRectToView(cell->bounds(), nullptr);
        const CGRect title =
            cell->textLabel()->convertRectToView(cell->textLabel()->bounds(), nullptr);
        EXPECT_GE(frame.origin.y, previousBottom - 0.01) << i;
        EXPECT_GE(title.origin.y, frame.origin.y) << i;
        EXPECT_LE(CGRectGetMaxY(title), CGRectGetMaxY(frame) + 0.01) << i;
        previousBottom = CGRectGetMaxY(frame);
        if (auto row = objc_cast<PSSwitchTableCell>(cell)) {
            const CGRect control =
                row->control()->convertRectToView(row->control()->bounds(), nullptr);
            EXPECT_LE(CGRectGetMaxX(title), control.origin.x) << i;
        }
    }
    // The long title takes several lines, and its row grows with it.
    EXPECT_GT(page.cell(0)->textLabel()->frame().size.height, 1.5 * line);
    EXPECT_GT(page.cell(0)->frame().size.height, 2 * line);
}

TEST_F(Appearance, DevicesPlaceThePageBelowTheirStatusBarAndBesideSettingsOnAnIPad) {
    struct Case {
        const char* device;
        bool landscape, statusBar;
        CGFloat width, barTop, pageLeft;
        bool timeShown;
    };
    const Case cases[] = {
        {"iphone-se", false, true, 375, 20, 0, true},
        {"iphone-15-pro-max", false, true, 430, 59, 0, true},
        {"iphone-15-pro-max", true, true, 932, 0, 0, false},
        {"iphone-15", false, false, 393, 59, 0, false},
        {"ipad-pro-12.9", false, true, 1024, 24, 320.5, true},
        {"ipad-pro-12.9", true, true, 1366, 24, 375.5, true},
    };
    for (const Case& c : cases) {
        TemporaryDeviceRoot root;
        DeviceLook settings = look(UIUserInterfaceStyleLight, UIContentSizeCategory::Large);
        settings.device = DevicePreset::named(c.device);
        settings.landscape = c.landscape;
        settings.statusBar = c.statusBar;
        HostedPage page(root, {HostedPage::row("PSSwitchCell", "Sounds")}, {}, "", settings);
        page.host->settle();
        const std::string name = std::string(c.device) + (c.landscape ? " landscape" : "");
        EXPECT_EQ(page.window->bounds().size.width, c.width) << name;
        const Ref<UINavigationBar> bar = page.host->navigationController()->navigationBar();
        const CGRect barFrame = bar->convertRectToView(bar->bounds(), nullptr);
        EXPECT_EQ(barFrame.origin.y, c.barTop) << name;
        EXPECT_NEAR(barFrame.origin.x, c.pageLeft, 0.01) << name;
        // The status bar's time, Wi-Fi and (on an iPad) date are in the
        // window above the bar, the date after the time's text.
        std::map<std::string, CGRect> shown;
        std::function<void(const Ref<UIView>&)> find = [&](const Ref<UIView>& view) {
            const CGRect frame = view->convertRectToView(view->bounds(), nullptr);
            const bool above = frame.origin.y < barFrame.origin.y && frame.origin.x >= 0 &&
                               CGRectGetMaxX(frame) <= c.width;
            auto label = objc_cast<UILabel>(view);
            auto image = objc_cast<UIImageView>(view);
            if (label && (label->text() == "9:41" || label->text() == "Tue Jan 9") && above) {
                shown[*label->text()] = CGRectMake(frame.origin.x, frame.origin.y,
                                                   label->intrinsicContentSize().width, 0);
            } else if (image && image->image() && image->image()->symbolName() == "wifi" && above) {
                shown["wifi"] = frame;
            }
            for (const Ref<UIView>& subview : view->subviews()) {
                find(subview);
            }
        };
        find(page.window);
        const bool pad = DevicePreset::named(c.device)->idiom == UIUserInterfaceIdiomPad;
        EXPECT_EQ(shown.count("9:41") + shown.count("wifi"), c.timeShown ? 2u : 0u) << name;
        EXPECT_EQ(shown.count("Tue Jan 9"), c.timeShown && pad ? 1u : 0u) << name;
        if (shown.count("Tue Jan 9")) {
            EXPECT_GT(shown["Tue Jan 9"].origin.x, CGRectGetMaxX(shown["9:41"])) << name;
        }
        // The first row sits on its card, inset as the width has it.
        const CGRect cell = page.cell(0)->convertRectToView(page.cell(0)->bounds(), nullptr);
        EXPECT_EQ(cell.origin.x - c.pageLeft, c.width - c.pageLeft >= 414 ? 20 : 16) << name;
    }
}

TEST_F(Appearance, EmojiAndOtherScriptsAreDrawnWithGlyphs) {
    for (const char* text : {"Cheers \xF0\x9F\x8D\xBA", "\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7",
                             "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D", "\xE4\xBD\xA0\xE5\xA5\xBD",
                             "\xE3\x81\x93\xE3\x82\x93\xE3\x81\xAB\xE3\x81\xA1\xE3\x81\xAF",
                             "\xEC\x95\x88\xEB\x85\x95"}) {
        // No character of the text lacks a glyph in the fonts it is set in.
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 10, 10);
        cairo_t* cairo = cairo_create(surface);
        PangoLayout* layout = pango_cairo_create_layout(cairo);
        NSStringDrawing::prepareContext(pango_layout_get_context(layout));
        PangoFontDescription* font =
            NSStringDrawing::newFontDescription(UIFont::systemFontOfSize(17));
        pango_layout_set_font_description(layout, font);
        pango_layout_set_text(layout, text, -1);
        EXPECT_EQ(pango_layout_get_unknown_glyphs_count(layout), 0) << text;
        pango_font_description_free(font);
        g_object_unref(layout);
        cairo_destroy(cairo);
        cairo_surface_destroy(surface);
    }
    // The beer is drawn in its colours: amber pixels in a black label.
    Ref<UIWindow> window = alloc<UIWindow>()->initWithFrame(CGRectMake(0, 0, 200, 40));
    window->setBackgroundColor(UIColor::whiteColor());
    Ref<UILabel> label = alloc<UILabel>()->initWithFrame(CGRectMake(0, 0, 200, 40));
    label->setText("Cheers \xF0\x9F\x8D\xBA");
    window->addSubview(label);
    RenderedPage pixels(window, 2);
    ASSERT_TRUE(pixels.ok());
    int coloured = 0;
    for (int y = 0; y < 80; ++y) {
        for (int x = 0; x < 400; ++x) {
            const CGColor c = pixels.pixel(x, y);
            coloured += c.red - c.blue > 0.4 && c.green - c.blue > 0.2;
        }
    }
    EXPECT_GT(coloured, 20);
}

} // namespace
