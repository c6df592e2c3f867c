#include <functional>
#include <set>
#include <tuple>

#include <gtest/gtest.h>

#include <Foundation/NSLocale.h>
#include <Foundation/dispatch.h>
#include <QuartzCore/CAShapeLayer.h>
#include <UIKit/UIBezierPath.h>
#include <UIKit/UIImage.h>
#include <UIKit/UIImageView.h>
#include <UIKit/UILabel.h>
#include <UIKit/UISlider.h>
#include <UIKit/UIStepper.h>
#include <render/SDKCanvas.h>
#include <render/SDKSymbolCatalogue.h>
#include <render/SDKViewInspector.h>

#include "RenderedPage.h"
#include "TemporaryDeviceRoot.h"

namespace {

const CGColor kWhite{1, 1, 1, 1};
const CGColor kRed{1, 0, 0, 1};
const CGColor kBlue{0, 0, 1, 1};

Ref<UIColor> blueColor() {
    return UIColor::colorWithRed(0, 0, 1, 1);
}

Ref<UIWindow> whiteWindow() {
    DispatchMainQueue::markMainThread();
    Ref<UIWindow> window = alloc<UIWindow>()->initWithFrame(CGRectMake(0, 0, 200, 200));
    window->setBackgroundColor(UIColor::whiteColor());
    return window;
}

Ref<UIView> square(const CGRect& frame, const Ref<UIColor>& color) {
    Ref<UIView> view = alloc<UIView>()->initWithFrame(frame);
    view->setBackgroundColor(color);
    return view;
}

// The smallest rectangle, in points, holding every pixel of `area` that
// differs from `background`.
CGRect inkBounds(const RenderedPage& page, const CGRect& area, const CGColor& background) {
    const double s = page.scale();
    int minX = INT32_MAX, minY = INT32_MAX, maxX = -1, maxY = -1;
    for (int y = static_cast<int>(area.origin.y * s); y < CGRectGetMaxY(area) * s; ++y) {
        for (int x = static_cast<int>(area.origin.x * s); x < CGRectGetMaxX(area) * s; ++x) {
            if (!colorNear(page.pixel(x, y), background, 8.0 / 255)) {
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
            }
        }
    }
    if (maxX < 0) {
        return CGRectZero;
    }
    return CGRectMake(minX / s, minY / s, (maxX + 1 - minX) / s, (maxY + 1 - minY) / s);
}

TEST(ViewPainter, LayersCompositeAsCoreAnimationDoes) {
    struct Case {
        const char* name;
        std::function<void(const Ref<UIWindow>&)> build;
        CGPoint probe;
        CGColor expected;
    };
    const Case cases[] = {
        {"background fills the frame",
         [](auto& w) { w->addSubview(square(CGRectMake(50, 50, 100, 100), UIColor::redColor())); },
         {100, 100},
         kRed},
        {"nothing outside the frame",
         [](auto& w) { w->addSubview(square(CGRectMake(50, 50, 100, 100), UIColor::redColor())); },
         {40, 100},
         kWhite},
        {"a corner radius rounds the corner off",
         [](auto& w) {
             auto v = square(CGRectMake(50, 50, 100, 100), UIColor::redColor());
             v->layer()->setCornerRadius(30);
             w->addSubview(v);
         },
         {52, 52},
         kWhite},
        {"a border lies inside the bounds",
         [](auto& w) {
             auto v = square(CGRectMake(50, 50, 100, 100), UIColor::redColor());
             v->layer()->setBorderWidth(6);
             v->layer()->setBorderColor(blueColor()->CGColor());
             w->addSubview(v);
         },
         {53, 100},
         kBlue},
        {"a hidden view draws nothing",
         [](auto& w) {
             auto v = square(CGRectMake(50, 50, 100, 100), UIColor::redColor());
             v->setHidden(true);
             w->addSubview(v);
         },
         {100, 100},
         kWhite},
        {"a translucent view blends with what is below",
         [](auto& w) {
             auto v = square(CGRectMake(50, 50, 100, 100), UIColor::redColor());
             v->setAlpha(0.5);
             w->addSubview(v);
         },
         {100, 100},
         CGColor{1, 0.5, 0.5, 1}},
        {"masksToBounds clips subviews",
         [](auto& w) {
             auto parent = square(CGRectMake(50, 50, 50, 50), UIColor::redColor());
             parent->setClipsToBounds(true);
             parent->addSubview(square(CGRectMake(20, 20, 100, 100), blueColor()));
             w->addSubview(parent);
         },
         {120, 120},
         kWhite},
        {"without masksToBounds subviews overflow",
         [](auto& w) {
             auto parent = square(CGRectMake(50, 50, 50, 50), UIColor::redColor());
             parent->addSubview(square(CGRectMake(20, 20, 100, 100), blueColor()));
             w->addSubview(parent);
         },
         {120, 120},
         kBlue},
        {"a shape layer fills its path",
         [](auto& w) {
             auto v = square(CGRectMake(50, 50, 100, 100), nullptr);
             auto shape = CAShapeLayer::layer();
             shape->setPath(
                 UIBezierPath::bezierPathWithRoundedRect(CGRectMake(0, 0, 100, 100), 50)->CGPath());
             shape->setFillColor(UIColor::redColor()->CGColor());
             v->layer()->addSublayer(shape);
             w->addSubview(v);
         },
         {100, 100},
         kRed},
        {"a shape layer leaves what is outside its path",
         [](auto& w) {
             auto v = square(CGRectMake(50, 50, 100, 100), nullptr);
             auto shape = CAShapeLayer::layer();
             shape->setPath(
                 UIBezierPath::bezierPathWithRoundedRect(CGRectMake(0, 0, 100, 100), 50)->CGPath());
             shape->setFillColor(UIColor::redColor()->CGColor());
             v->layer()->addSublayer(shape);
             w->addSubview(v);
         },
         {55, 55},
         kWhite},
        {"a layer added after a subview draws over it",
         [](auto& w) {
             auto v = square(CGRectMake(50, 50, 100, 100), nullptr);
             v->addSubview(square(CGRectMake(0, 0, 100, 100), blueColor()));
             auto layer = CALayer::layer();
             layer->setFrame(CGRectMake(0, 0, 100, 100));
             layer->setBackgroundColor(UIColor::redColor()->CGColor());
             v->layer()->addSublayer(layer);
             w->addSubview(v);
         },
         {100, 100},
         kRed},
    };
    for (const Case& c : cases) {
        for (double scale : {1.0, 2.0, 3.0}) {
            Ref<UIWindow> window = whiteWindow();
            c.build(window);
            RenderedPage page(window, scale);
            ASSERT_TRUE(page.ok()) << page.error();
            EXPECT_TRUE(colorNear(page.at(c.probe.x, c.probe.y), c.expected))
                << c.name << " at scale " << scale;
        }
    }
}

TEST(ViewPainter, LabelsSetTheirTextInTheirBounds) {
    Ref<UIWindow> window = whiteWindow();
    auto label = [&](const CGRect& frame, const char* text, auto configure) {
        Ref<UILabel> made = alloc<UILabel>()->initWithFrame(frame);
        made->setText(std::string(text));
        made->setTextColor(blueColor());
        configure(*made);
        window->addSubview(made);
        return frame;
    };
    const CGRect left = label(CGRectMake(10, 10, 180, 30), "Left", [](UILabel&) {});
    const CGRect right = label(CGRectMake(10, 50, 180, 30), "Right",
                               [](UILabel& l) { l.setTextAlignment(NSTextAlignmentRight); });
    const char* longText = "A title far too long for its little label";
    const CGRect truncated = label(CGRectMake(10, 90, 100, 30), longText, [](UILabel&) {});
    const CGRect shrunk = label(CGRectMake(10, 130, 100, 30), longText,
                                [](UILabel& l) { l.setAdjustsFontSizeToFitWidth(true); });
    RenderedPage page(window, 2);
    ASSERT_TRUE(page.ok());

    const CGRect leftInk = inkBounds(page, CGRectMake(0, 0, 200, 45), kWhite);
    EXPECT_LT(leftInk.origin.x, 12);
    EXPECT_LT(CGRectGetMaxX(leftInk), CGRectGetMidX(left));
    // Centred vertically: the ink's middle is near the label's.
    EXPECT_NEAR(CGRectGetMidY(leftInk), CGRectGetMidY(left), 2.5);

    const CGRect rightInk = inkBounds(page, CGRectMake(0, 45, 200, 40), kWhite);
    EXPECT_GT(rightInk.origin.x, CGRectGetMidX(right));
    EXPECT_GT(CGRectGetMaxX(rightInk), CGRectGetMaxX(right) - 3);
    EXPECT_LE(CGRectGetMaxX(rightInk), CGRectGetMaxX(right) + 0.5);

    // Truncated at the label's edge; shrunk to fit it at a smaller size.
    const CGRect truncatedInk = inkBounds(page, CGRectMake(0, 85, 200, 40), kWhite);
    const CGRect shrunkInk = inkBounds(page, CGRectMake(0, 125, 200, 40), kWhite);
    EXPECT_LE(CGRectGetMaxX(truncatedInk), CGRectGetMaxX(truncated) + 0.5);
    EXPECT_GT(CGRectGetMaxX(truncatedInk), CGRectGetMaxX(truncated) - 12);
    EXPECT_LE(CGRectGetMaxX(shrunkInk), CGRectGetMaxX(shrunk) + 0.5);
    EXPECT_LT(shrunkInk.size.height, truncatedInk.size.height * 0.75);

    // The ink is the text colour where glyphs are solid.
    bool solidBlue = false;
    for (CGFloat x = leftInk.origin.x; x < CGRectGetMaxX(leftInk); x += 0.5) {
        solidBlue = solidBlue || colorNear(page.at(x, CGRectGetMidY(leftInk)), kBlue, 0.05);
    }
    EXPECT_TRUE(solidBlue);
}

TEST(ViewPainter, SymbolImagesTakeTheTintAndKeepTheirAspect) {
    Ref<UIWindow> window = whiteWindow();
    Ref<UIImageView> view =
        alloc<UIImageView>()->initWithImage(UIImage::systemImageNamed("checkmark.circle.fill"));
    view->setFrame(CGRectMake(20, 20, 96, 48));
    view->setContentMode(UIViewContentModeScaleAspectFit);
    view->setTintColor(UIColor::redColor());
    window->addSubview(view);
    RenderedPage page(window, 2);
    ASSERT_TRUE(page.ok());
    // The 24-point design square is drawn 48 points wide, centred: x 44 to 92.
    const CGFloat unit = 2, x0 = 44, y0 = 20;
    EXPECT_TRUE(colorNear(page.at(x0 + 12 * unit, y0 + 11 * unit), kRed));
    // The check mark is cut out of the disc.
    EXPECT_TRUE(colorNear(page.at(x0 + 10.7 * unit, y0 + 15.4 * unit), kWhite));
    // Aspect fit leaves the sides empty.
    EXPECT_TRUE(colorNear(page.at(30, 44), kWhite));
    EXPECT_TRUE(colorNear(page.at(106, 44), kWhite));
}

TEST(ViewPainter, DecodedImagesAreScaledToTheirView) {
    // Four 4-by-4 quadrants: red, green, blue and transparent.
    auto bitmap = std::make_shared<UIImage::Bitmap>();
    bitmap->width = 8;
    bitmap->height = 8;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const int quadrant = (y / 4) * 2 + x / 4;
            const uint8_t pixels[4][4] = {
                {255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {0, 0, 0, 0}};
            bitmap->rgba.insert(bitmap->rgba.end(), pixels[quadrant], pixels[quadrant] + 4);
        }
    }
    Ref<UIWindow> window = whiteWindow();
    Ref<UIImageView> view =
        alloc<UIImageView>()->initWithImage(alloc<UIImage>()->initWithBitmap(bitmap));
    view->setFrame(CGRectMake(0, 0, 100, 100));
    window->addSubview(view);
    RenderedPage page(window, 1);
    ASSERT_TRUE(page.ok());
    EXPECT_TRUE(colorNear(page.at(10, 10), kRed));
    EXPECT_TRUE(colorNear(page.at(90, 10), CGColor{0, 1, 0, 1}));
    EXPECT_TRUE(colorNear(page.at(10, 90), kBlue));
    // A transparent pixel shows the window through it.
    EXPECT_TRUE(colorNear(page.at(90, 90), kWhite));
}

TEST(ViewPainter, ContentModesPlaceADecodedImageAsThePlatformDoes) {
    // A 40 by 10 red PNG from disk in a 100 by 50 view at (60, 20).
    TemporaryDeviceRoot root;
    cairo_surface_t* red = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 40, 10);
    cairo_t* cairo = cairo_create(red);
    cairo_set_source_rgb(cairo, 1, 0, 0);
    cairo_paint(cairo);
    cairo_destroy(cairo);
    cairo_surface_write_to_png(red, root.host("/red.png").c_str());
    cairo_surface_destroy(red);
    // Mode, whether the view clips, and where the image lands: stretched,
    // fitted (letterboxed), filled (past the bounds unless clipped) or at
    // its own size at the middle, an edge or a corner.
    const std::tuple<UIViewContentMode, const char*, bool, CGRect> cases[] = {
        {UIViewContentModeScaleToFill, "scaleToFill", false, CGRectMake(60, 20, 100, 50)},
        {UIViewContentModeScaleAspectFit, "scaleAspectFit", false, CGRectMake(60, 32.5, 100, 25)},
        {UIViewContentModeScaleAspectFill, "scaleAspectFill", false, CGRectMake(10, 20, 200, 50)},
        {UIViewContentModeScaleAspectFill, "scaleAspectFill", true, CGRectMake(60, 20, 100, 50)},
        {UIViewContentModeCenter, "center", false, CGRectMake(90, 40, 40, 10)},
        {UIViewContentModeTop, "top", false, CGRectMake(90, 20, 40, 10)},
        {UIViewContentModeRight, "right", false, CGRectMake(120, 40, 40, 10)},
        {UIViewContentModeBottomLeft, "bottomLeft", false, CGRectMake(60, 60, 40, 10)},
    };
    for (const auto& [mode, name, clips, r] : cases) {
        SCOPED_TRACE(name);
        Ref<UIWindow> window = whiteWindow();
        window->setFrame(CGRectMake(0, 0, 240, 100));
        Ref<UIImageView> view =
            alloc<UIImageView>()->initWithImage(UIImage::imageWithContentsOfFile("/red.png"));
        view->setFrame(CGRectMake(60, 20, 100, 50));
        view->setContentMode(mode);
        view->setClipsToBounds(clips);
        window->addSubview(view);
        EXPECT_EQ(SDKViewInspector().describeView(*view)["contentMode"], Value(name));
        RenderedPage page(window, 2);
        ASSERT_TRUE(page.ok());
        EXPECT_TRUE(colorNear(page.at(r.origin.x + 0.5, r.origin.y + 0.5), kRed));
        EXPECT_TRUE(colorNear(page.at(CGRectGetMaxX(r) - 0.5, CGRectGetMaxY(r) - 0.5), kRed));
        EXPECT_TRUE(colorNear(page.at(r.origin.x - 0.5, CGRectGetMidY(r)), kWhite));
        EXPECT_TRUE(colorNear(page.at(CGRectGetMaxX(r) + 0.5, CGRectGetMidY(r)), kWhite));
        EXPECT_TRUE(colorNear(page.at(CGRectGetMidX(r), r.origin.y - 0.5), kWhite));
        EXPECT_TRUE(colorNear(page.at(CGRectGetMidX(r), CGRectGetMaxY(r) + 0.5), kWhite));
    }
}

TEST(SymbolCatalogue, DrawsEverySymbolTheImagesKnowAndNoOther) {
    const auto& catalogue = SDKSymbolCatalogue::names();
    const auto& images = UIImage::systemSymbolNames();
    EXPECT_EQ(std::set<std::string>(catalogue.begin(), catalogue.end()),
              std::set<std::string>(images.begin(), images.end()));

    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 24, 24);
    cairo_t* cairo = cairo_create(surface);
    SDKCanvas canvas(cairo, 1);
    auto inked = [&] {
        cairo_surface_flush(surface);
        const unsigned char* data = cairo_image_surface_get_data(surface);
        size_t count = 0;
        for (int i = 0; i < 24 * 24; ++i) {
            count += data[i * 4 + 3] > 128;
        }
        return count;
    };
    for (const std::string& name : catalogue) {
        cairo_set_operator(cairo, CAIRO_OPERATOR_CLEAR);
        cairo_paint(cairo);
        cairo_set_operator(cairo, CAIRO_OPERATOR_OVER);
        EXPECT_TRUE(SDKSymbolCatalogue::drawSymbol(name, canvas, CGRectMake(0, 0, 24, 24), kRed));
        // Every glyph leaves a mark, and none fills its whole square.
        EXPECT_GT(inked(), 40u) << name;
        EXPECT_LT(inked(), 24u * 24u * 9 / 10) << name;
    }
    cairo_set_operator(cairo, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cairo);
    cairo_set_operator(cairo, CAIRO_OPERATOR_OVER);
    EXPECT_FALSE(
        SDKSymbolCatalogue::drawSymbol("star.fill", canvas, CGRectMake(0, 0, 24, 24), kRed));
    EXPECT_EQ(inked(), 0u);
    cairo_destroy(cairo);
    cairo_surface_destroy(surface);
}

TEST(ViewPainter, SliderThumbSitsAtItsValue) {
    for (float value : {0.0f, 30.0f, 75.0f, 100.0f}) {
        Ref<UIWindow> window = whiteWindow();
        Ref<UISlider> slider = alloc<UISlider>()->initWithFrame(CGRectMake(20, 80, 160, 31));
        slider->setMaximumValue(100);
        slider->setValue(value);
        window->addSubview(slider);
        RenderedPage page(window, 3);
        ASSERT_TRUE(page.ok());
        // The thumb's centre travels from 14 points in to 14 points before the end.
        const CGFloat centre = 20 + 14 + value / 100 * (160 - 28);
        const CGFloat y = 80 + 15.5;
        EXPECT_TRUE(colorNear(page.at(centre, y), kWhite)) << value;
        if (value > 15) {
            EXPECT_TRUE(colorNear(page.at(centre - 19, y), *UIColor::systemBlueColor()->CGColor()))
                << value;
        }
        if (value < 85) {
            EXPECT_TRUE(colorNear(page.at(centre + 19, y),
                                  over(*UIColor::systemFillColor()->CGColor(), kWhite)))
                << value;
        }
    }
}

TEST(ViewPainter, StepperShowsMinusAndPlusAndFadesAButtonAtItsBound) {
    Ref<UIWindow> window = whiteWindow();
    Ref<UIStepper> stepper = alloc<UIStepper>()->initWithFrame(CGRectMake(20, 80, 94, 32));
    stepper->setValue(0);
    window->addSubview(stepper);
    RenderedPage page(window, 3);
    ASSERT_TRUE(page.ok());
    const CGFloat y = 96;
    // The plus is drawn in the label colour; the minus, which cannot step
    // below 0, faintly; off the glyphs the capsule is grey.
    EXPECT_TRUE(colorNear(page.at(20 + 70.5, y), CGColor{0, 0, 0, 1}, 0.1));
    EXPECT_TRUE(colorNear(page.at(20 + 70.5, y - 5), CGColor{0, 0, 0, 1}, 0.1));
    EXPECT_TRUE(colorNear(page.at(20 + 23.5, y),
                          over(*UIColor::tertiaryLabelColor()->CGColor(),
                               over(*UIColor::tertiarySystemFillColor()->CGColor(), kWhite)),
                          0.05));
    EXPECT_TRUE(colorNear(page.at(20 + 23.5, y - 5),
                          over(*UIColor::tertiarySystemFillColor()->CGColor(), kWhite)));
}

// Natural alignment is the leading side of the label's direction; left and
// right are the box's sides whatever script the text is in, and text that
// mixes scripts stays whole.
TEST(ViewPainter, LabelsAlignByTheirDirectionInEveryScript) {
    struct Case {
        const char* text;
        NSTextAlignment alignment;
        const char* language;
        bool atRight;
    };
    const Case cases[] = {
        {"Wi-Fi", NSTextAlignmentNatural, "en", false},
        {"Wi-Fi", NSTextAlignmentNatural, "ar", true},
        {"\u0645\u0631\u062D\u0628\u0627", NSTextAlignmentNatural, "en", false},
        {"\u0645\u0631\u062D\u0628\u0627", NSTextAlignmentLeft, "ar", false},
        {"\u05E9\u05DC\u05D5\u05DD", NSTextAlignmentRight, "en", true},
        {"Volume \u0645\u0633\u062A\u0648\u0649 50%", NSTextAlignmentNatural, "he", true},
        {"\u0645\u0633\u062A\u0648\u0649 Volume 50%", NSTextAlignmentLeft, "en", false},
    };
    for (const Case& c : cases) {
        NSLocale::setPreferredLanguages({c.language});
        Ref<UIWindow> window = whiteWindow();
        window->setFrame(CGRectMake(0, 0, 300, 50));
        const CGRect frame = CGRectMake(10, 10, 280, 30);
        Ref<UILabel> label = alloc<UILabel>()->initWithFrame(frame);
        label->setText(std::string(c.text));
        label->setTextAlignment(c.alignment);
        window->addSubview(label);
        RenderedPage page(window, 2);
        ASSERT_TRUE(page.ok());
        const CGRect ink = inkBounds(page, CGRectMake(0, 0, 300, 50), kWhite);
        const CGFloat natural = label->intrinsicContentSize().width;
        SCOPED_TRACE(std::string(c.text) + " in " + c.language);
        EXPECT_NEAR(ink.size.width, natural, 4);
        if (c.atRight) {
            EXPECT_NEAR(CGRectGetMaxX(ink), CGRectGetMaxX(frame), 2);
        } else {
            EXPECT_NEAR(ink.origin.x, frame.origin.x, 2);
        }
    }
    NSLocale::setPreferredLanguages({});
}

} // namespace
