#include <gtest/gtest.h>

#include <UIKit/UIAlertAction.h>
#include <UIKit/UIAlertController.h>
#include <UIKit/UIButton.h>
#include <UIKit/UIColorPickerViewController.h>
#include <UIKit/UINavigationBar.h>
#include <UIKit/UIScreen.h>
#include <render/SDKPageRenderer.h>
#include <render/SDKTableViewLook.h>
#include <render/SDKViewInspector.h>

#include "HostedPage.h"
#include "KLColorPickerCell.h"
#include "RenderedPage.h"
#include "automation/ColorPickerProcess.h"

namespace {

Value::Dictionary colorRow(const char* key, Value::Dictionary extra = {}) {
    Value::Dictionary row{{"cell", "PSTableCell"},
                          {"cellClass", "KLColorPickerCell"},
                          {"label", key},
                          {"key", key},
                          {"defaults", HostedPage::kDomain}};
    for (auto& [name, value] : extra) {
        row[name] = value;
    }
    return row;
}

Value::Dictionary group(const char* label) {
    return Value::Dictionary{{"cell", "PSGroupCell"}, {"label", label}};
}

CGPoint centreOf(const Ref<UIView>& view) {
    const CGRect frame = view->convertRectToView(view->bounds(), nullptr);
    return CGPointMake(CGRectGetMidX(frame), CGRectGetMidY(frame));
}

CGColor color(const Ref<UIColor>& color) {
    return *color->CGColor();
}

TEST(PageRenderer, SwatchCentreShowsTheStoredColour) {
    struct Case {
        const char* stored;
        Value::Dictionary extra;
        CGColor shown;
    };
    const Case cases[] = {
        {"#FF8000", {}, CGColor{1, 128 / 255.0, 0, 1}},
        {"#2040C0", {}, CGColor{0x20 / 255.0, 0x40 / 255.0, 0xC0 / 255.0, 1}},
        // A translucent colour shows the white row through it.
        {"#FF000080", {{"supportsAlpha", true}}, over(CGColor{1, 0, 0, 128 / 255.0}, {1, 1, 1, 1})},
    };
    for (const Case& c : cases) {
        for (double scale : {1.0, 2.0, 3.0}) {
            TemporaryDeviceRoot root;
            HostedPage page(root, {group("Colours"), colorRow("tint", c.extra)},
                            {{"tint", c.stored}});
            page.window->layoutIfNeeded();
            RenderedPage image(page.window, scale);
            ASSERT_TRUE(image.ok()) << image.error();
            auto cell = page.cell<KLColorPickerCell>(1);
            ASSERT_NE(cell, nullptr);
            const CGPoint centre = centreOf(cell->accessoryView());
            EXPECT_TRUE(colorNear(image.at(centre.x, centre.y), c.shown))
                << c.stored << " at scale " << scale;
        }
    }
}

TEST(PageRenderer, DrawsTheInsetGroupedTable) {
    TemporaryDeviceRoot root;
    HostedPage page(root,
                    {group("First"), colorRow("a"), colorRow("b"), group("Second"), colorRow("c")});
    page.window->layoutIfNeeded();
    RenderedPage image(page.window, 2);
    ASSERT_TRUE(image.ok());
    // The sections' places on the page, below the navigation bar.
    Ref<UITableView> table = page.controller->table();
    std::vector<UITableView::SectionLayout> layouts;
    for (const UITableView::SectionLayout& layout : table->sectionLayouts()) {
        layouts.push_back({table->convertRectToView(layout.card, nullptr),
                           table->convertRectToView(layout.header, nullptr),
                           table->convertRectToView(layout.footer, nullptr)});
    }
    ASSERT_EQ(layouts.size(), 2u);
    const CGRect card = layouts[0].card;
    const CGColor grouped = color(UIColor::systemGroupedBackgroundColor());
    const CGColor white{1, 1, 1, 1};
    // The grouped background at the margin and between the cards.
    EXPECT_TRUE(colorNear(image.at(4, CGRectGetMidY(card)), grouped));
    EXPECT_TRUE(colorNear(image.at(200, (CGRectGetMaxY(card) + layouts[1].card.origin.y) / 2 + 4),
                          grouped));
    // The card's corner is rounded off; inside it the row is white.
    EXPECT_TRUE(colorNear(image.at(card.origin.x + 1, card.origin.y + 1), grouped));
    EXPECT_TRUE(colorNear(image.at(card.origin.x + 8, CGRectGetMidY(card)), white));
    // A hairline between the two rows, inset from the card's leading edge.
    const CGFloat between = card.origin.y + card.size.height / 2 - 0.25;
    EXPECT_FALSE(colorNear(image.at(card.origin.x + 40, between), white));
    EXPECT_TRUE(colorNear(image.at(card.origin.x + 8, between), white));
    // None under the last row of a section.
    EXPECT_TRUE(colorNear(image.at(card.origin.x + 40, CGRectGetMaxY(card) - 0.25), white));
    // The header text is drawn above the card in grey; a table look told to
    // leave its section texts out shows the background there.
    const CGRect header = layouts[0].header;
    auto inked = [&](const RenderedPage& drawn) {
        bool found = false;
        for (CGFloat x = header.origin.x; x < header.origin.x + 40; x += 0.5) {
            found = found || !colorNear(drawn.at(x, CGRectGetMidY(header)), grouped, 0.1);
        }
        return found;
    };
    EXPECT_TRUE(inked(image));
    SDKLookRegistry withoutTexts;
    withoutTexts.addStandardLooks();
    withoutTexts.addViewLook(std::make_unique<SDKTableViewLook>(false));
    EXPECT_FALSE(inked(RenderedPage(page.window, 2, withoutTexts)));
    // The texts it leaves out are those it draws, headers in capitals.
    const auto texts = SDKTableViewLook::sectionTexts(*table);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1].text, "SECOND");
    EXPECT_EQ(texts[1].section, 1u);
    EXPECT_FALSE(texts[1].footer);
    EXPECT_EQ(table->convertRectToView(texts[0].box, nullptr), header);
}

TEST(PageRenderer, DrawsTheTableHeaderViewAndOtherSubviewsOfTheTable) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {group("G"), colorRow("a")});
    Ref<UITableView> table = page.controller->table();
    Ref<UIView> header = alloc<UIView>()->initWithFrame(CGRectMake(0, 0, 390, 60));
    header->setBackgroundColor(UIColor::redColor());
    table->setTableHeaderView(header);
    page.host->settle();
    // Below the navigation bar.
    const CGFloat top = UINavigationBar::kHeight;
    {
        RenderedPage image(page.window, 1);
        ASSERT_TRUE(image.ok());
        EXPECT_TRUE(colorNear(image.at(200, top + 30), CGColor{1, 0, 0, 1}));
        EXPECT_TRUE(colorNear(image.at(200, 700), color(UIColor::systemGroupedBackgroundColor())));
    }
    Ref<UIView> stray = alloc<UIView>()->initWithFrame(CGRectMake(100, 680, 40, 40));
    stray->setBackgroundColor(UIColor::colorWithRed(0, 0, 1, 1));
    table->addSubview(stray);
    RenderedPage image(page.window, 1);
    ASSERT_TRUE(image.ok());
    EXPECT_TRUE(colorNear(image.at(200, top + 30), CGColor{1, 0, 0, 1}));
    EXPECT_TRUE(colorNear(image.at(120, top + 700), CGColor{0, 0, 1, 1}));
    // The row is still drawn once, on its card.
    EXPECT_TRUE(
        colorNear(image.at(30, top + CGRectGetMidY(page.cell(1)->frame())), CGColor{1, 1, 1, 1}));
}

TEST(PageRenderer, PresentedScreensCoverThePage) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {colorRow("tint", {{"fallbackHex", "#00FF00"}})});
    page.window->layoutIfNeeded();
    const CGColor grouped = color(UIColor::systemGroupedBackgroundColor());
    page.tapRow(0);
    auto picker =
        objc_cast<UIColorPickerViewController>(page.controller->presentedViewController());
    ASSERT_NE(picker, nullptr);
    ColorPickerProcess::reportPick(picker, UIColor::colorWithRed(0, 0, 1, 1));
    {
        RenderedPage image(page.window, 1);
        ASSERT_TRUE(image.ok());
        // Dimmed above the sheet; the sheet itself is white.
        const CGColor dimmed = image.at(200, 20);
        EXPECT_LT(dimmed.red, grouped.red - 0.1);
        EXPECT_TRUE(colorNear(image.at(200, 100), CGColor{1, 1, 1, 1}));
    }
    page.tap(ViewFinder::closeButton(picker->view()));
    Ref<UIAlertController> alert = UIAlertController::alertControllerWithTitle(
        std::string("Custom value"), std::string("Enter a value"), UIAlertControllerStyleAlert);
    alert->addAction(
        UIAlertAction::actionWithTitle(std::string("OK"), UIAlertActionStyleDefault, nullptr));
    page.controller->presentViewController(alert, true, nullptr);
    RenderedPage image(page.window, 1);
    ASSERT_TRUE(image.ok());
    // The page is dimmed at its margin; the alert's panel is light in the middle of the screen.
    EXPECT_LT(image.at(4, 600).red, grouped.red - 0.1);
    EXPECT_GT(image.at(200, 422 - 40).red, 0.9);
}

TEST(PageRenderer, WritesAPNGOfThePageAndRefusesOneTooLarge) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {colorRow("tint")});
    const std::string path = root.path() + "/page.png";
    std::string error;
    ASSERT_TRUE(SDKPageRenderer(page.window, 2).writePNG(path, &error)) << error;
    cairo_surface_t* read = cairo_image_surface_create_from_png(path.c_str());
    ASSERT_EQ(cairo_surface_status(read), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(read), 780);
    EXPECT_EQ(cairo_image_surface_get_height(read), 1688);
    cairo_surface_destroy(read);

    page.window->setFrame(CGRectMake(0, 0, 390, 20000));
    EXPECT_FALSE(SDKPageRenderer(page.window, 2).writePNG(path, &error));
    EXPECT_NE(error.find("40000"), std::string::npos) << error;
    EXPECT_FALSE(SDKPageRenderer(page.window, 0.5).makeImage(&error));
    EXPECT_NE(error.find("scale"), std::string::npos) << error;
    page.window->setFrame(UIScreen::mainScreen()->bounds());
    EXPECT_FALSE(SDKPageRenderer(page.window, 2).writePNG("/nonexistent/folder/page.png", &error));
    EXPECT_NE(error.find("/nonexistent/folder/page.png"), std::string::npos) << error;
}

TEST(PageRenderer, RegionsDrawTheSamePixelsAsTheWholePage) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {group("G"), colorRow("a", {{"fallbackHex", "#FF0000"}}), colorRow("b")});
    RenderedPage whole(page.window, 2);
    ASSERT_TRUE(whole.ok());
    // A tile starting 60 points down the page.
    cairo_surface_t* tile = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 780, 200);
    cairo_t* cairo = cairo_create(tile);
    SDKPageRenderer(page.window, 2).drawRegion(cairo, CGRectMake(0, 60, 390, 100));
    cairo_destroy(cairo);
    cairo_surface_flush(tile);
    const unsigned char* tileData = cairo_image_surface_get_data(tile);
    const unsigned char* wholeData = cairo_image_surface_get_data(whole.surface());
    const int stride = cairo_image_surface_get_stride(tile);
    size_t differing = 0;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 780 * 4; ++x) {
            differing += std::abs(tileData[y * stride + x] - wholeData[(y + 120) * stride + x]) > 2;
        }
    }
    EXPECT_EQ(differing, 0u);
    cairo_surface_destroy(tile);
}

TEST(ViewInspector, DescribesWhatEachViewShows) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {colorRow("tint", {{"fallbackHex", "#FF8000"}})});
    page.window->layoutIfNeeded();
    SDKViewInspector inspector;
    auto cell = page.cell<KLColorPickerCell>(0);
    ASSERT_NE(cell, nullptr);
    const Value::Array tree = inspector.describeTree(*cell);
    auto find = [&](const std::string& path) -> const Value& {
        for (const Value& view : tree) {
            if (view["path"] == Value(path)) {
                return view;
            }
        }
        static const Value none;
        return none;
    };
    EXPECT_EQ(find("")["class"], Value("KLColorPickerCell"));
    EXPECT_EQ(find("0.1")["text"], Value("#FF8000"));
    EXPECT_EQ(find("0.0")["textColor"], Value("#007AFFFF"));
    const Value& swatch = find("1");
    EXPECT_EQ(swatch["borderColor"], Value("#C6C6C8FF"));
    EXPECT_EQ(swatch["cornerRadius"], Value(14.5));
    EXPECT_EQ(swatch["layers"].array()->at(0)["fillColor"], Value("#FF8000FF"));
    const CGRect frame =
        cell->accessoryView()->convertRectToView(cell->accessoryView()->bounds(), nullptr);
    EXPECT_EQ(swatch["frame"]["x"], Value(frame.origin.x));
    EXPECT_EQ(swatch["frame"]["width"], Value(29.0));
}

} // namespace

namespace {

TEST(PageRenderer, RefusalsSayWhatWouldHelp) {
    TemporaryDeviceRoot root;
    HostedPage page(root, {colorRow("tint")});
    root.makeFolder("/folder.png");
    struct Case {
        CGFloat height;
        double scale;
        std::string path;
        const char* message;
        const char* absent;
    };
    const Case cases[] = {
        {20000, 2, "/page.png", "draw it at a smaller scale", "too large"},
        {40000, 1, "/page.png", "even at the smallest scale", "smaller scale;"},
        {40000, 3, "/page.png", "even at the smallest scale", "smaller scale;"},
        {844, 2, "/folder.png", "folder.png: Is a directory", "CAIRO"},
        {844, 2, "/none/page.png", "none/page.png: No such file or directory", "CAIRO"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        page.window->setFrame(CGRectMake(0, 0, 390, c.height));
        std::string error;
        EXPECT_FALSE(SDKPageRenderer(page.window, c.scale).writePNG(root.host(c.path), &error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        EXPECT_EQ(error.find(c.absent), std::string::npos) << error;
    }
    EXPECT_FALSE(std::filesystem::exists(root.host("/none")));
}

} // namespace
