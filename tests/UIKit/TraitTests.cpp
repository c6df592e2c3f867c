#include <gtest/gtest.h>

#include <UIKit/UIKit.h>
#include <UIKit/UITraitCollection.h>

namespace {

using T = UITraitCollection;

Ref<UIScreen> screenIn(UIUserInterfaceStyle style, UIContentSizeCategory size) {
    return alloc<UIScreen>()->initWithBounds(
        CGRectMake(0, 0, 390, 844), 3,
        T::traitCollectionWithTraitsFromCollections(
            {T::traitCollectionWithUserInterfaceStyle(style),
             T::traitCollectionWithPreferredContentSizeCategory(size)}));
}

struct SemanticColor {
    const char* name;
    Ref<UIColor> (*color)();
    uint32_t light, dark; // 0xRRGGBBAA
};

class SemanticColors : public testing::TestWithParam<SemanticColor> {};

TEST_P(SemanticColors, ResolveToTheirLightAndDarkValues) {
    const SemanticColor& c = GetParam();
    for (auto [style, rgba] : {std::pair{UIUserInterfaceStyleLight, c.light},
                               std::pair{UIUserInterfaceStyleDark, c.dark}}) {
        const Ref<UIColor> resolved = c.color()->resolvedColorWithTraitCollection(
            T::traitCollectionWithUserInterfaceStyle(style));
        EXPECT_FALSE(resolved->isDynamic());
        EXPECT_NEAR(resolved->red(), (rgba >> 24) / 255.0, 1e-9) << c.name;
        EXPECT_NEAR(resolved->green(), ((rgba >> 16) & 0xFF) / 255.0, 1e-9) << c.name;
        EXPECT_NEAR(resolved->blue(), ((rgba >> 8) & 0xFF) / 255.0, 1e-9) << c.name;
        EXPECT_NEAR(resolved->alpha(), (rgba & 0xFF) / 100.0, 1e-9) << c.name;
    }
}

// Alpha in hundredths in the last byte.
INSTANTIATE_TEST_SUITE_P(
    Table, SemanticColors,
    testing::Values(
        SemanticColor{"label", &UIColor::labelColor, 0x00000064, 0xFFFFFF64},
        SemanticColor{"secondaryLabel", &UIColor::secondaryLabelColor, 0x3C3C433C, 0xEBEBF53C},
        SemanticColor{"separator", &UIColor::separatorColor, 0x3C3C431D, 0x5454583C},
        SemanticColor{"systemGroupedBackground", &UIColor::systemGroupedBackgroundColor, 0xF2F2F764,
                      0x00000064},
        SemanticColor{"secondarySystemGroupedBackground",
                      &UIColor::secondarySystemGroupedBackgroundColor, 0xFFFFFF64, 0x1C1C1E64},
        SemanticColor{"systemFill", &UIColor::systemFillColor, 0x78788014, 0x78788024},
        SemanticColor{"link", &UIColor::linkColor, 0x007AFF64, 0x0984FF64},
        SemanticColor{"systemBlue", &UIColor::systemBlueColor, 0x007AFF64, 0x0A84FF64},
        SemanticColor{"systemRed", &UIColor::systemRedColor, 0xFF3B3064, 0xFF453A64},
        SemanticColor{"systemGray4", &UIColor::systemGray4Color, 0xD1D1D664, 0x3A3A3C64}),
    [](const testing::TestParamInfo<SemanticColor>& row) { return std::string(row.param.name); });

TEST(Traits, ACGColorTakenFromADynamicColourKeepsTheAppearanceItWasTakenIn) {
    UIScreen::setMainScreen(screenIn(UIUserInterfaceStyleLight, UIContentSizeCategory::Large));
    Ref<UIWindow> window = alloc<UIWindow>()->initWithFrame(CGRectMake(0, 0, 390, 844));
    Ref<UIView> view = alloc<UIView>()->initWithFrame(CGRectMake(0, 0, 100, 100));
    window->addSubview(view);
    view->setBackgroundColor(UIColor::systemBackgroundColor());
    // Taken once, as a tweak sets a layer's border colour in its init.
    view->layer()->setBorderColor(UIColor::labelColor()->CGColor());
    EXPECT_EQ(*view->layer()->borderColor(), (CGColor{0, 0, 0, 1}));

    struct Watcher : UIView {
        std::vector<std::pair<UIUserInterfaceStyle, CGFloat>>* heard = nullptr;
        void traitCollectionDidChange(const Ref<UITraitCollection>& previous) override {
            // Here the current collection is the view's new one.
            heard->emplace_back(previous->userInterfaceStyle(), UIColor::labelColor()->red());
        }
    };
    std::vector<std::pair<UIUserInterfaceStyle, CGFloat>> changes;
    auto watcher = alloc<Watcher>();
    watcher->heard = &changes;
    view->addSubview(watcher);

    UIScreen::setMainScreen(screenIn(UIUserInterfaceStyleDark, UIContentSizeCategory::Large));
    window->layoutIfNeeded();
    EXPECT_EQ(view->traitCollection()->userInterfaceStyle(), UIUserInterfaceStyleDark);
    // The view's own background follows; the layer colour set by hand does not.
    EXPECT_EQ(*view->layer()->backgroundColor(), (CGColor{0, 0, 0, 1}));
    EXPECT_EQ(*view->layer()->borderColor(), (CGColor{0, 0, 0, 1}));
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], std::make_pair(UIUserInterfaceStyleLight, 1.0));
    // Outside the callback, the main screen's traits are current.
    EXPECT_EQ(UIColor::labelColor()->red(), 1.0);

    // A view controller's override reaches its view's subtree only.
    Ref<UIViewController> controller = alloc<UIViewController>()->init();
    window->addSubview(controller->view());
    controller->view()->addSubview(alloc<UIView>()->init());
    controller->setOverrideUserInterfaceStyle(UIUserInterfaceStyleLight);
    EXPECT_EQ(controller->view()->subviews()[0]->traitCollection()->userInterfaceStyle(),
              UIUserInterfaceStyleLight);
    EXPECT_EQ(view->traitCollection()->userInterfaceStyle(), UIUserInterfaceStyleDark);
    UIScreen::setMainScreen(nullptr);
}

TEST(Traits, PreferredFontsFollowTheTextSizeForEveryStyle) {
    // Apple's table at extra small, large (the default) and accessibility 3 and 5.
    constexpr CGFloat expected[kUIFontTextStyleCount][4] = {
        {31, 34, 52, 60}, {25, 28, 48, 58}, {19, 22, 44, 56}, {17, 20, 43, 55},
        {14, 17, 40, 53}, {14, 17, 40, 53}, {13, 16, 38, 51}, {12, 15, 36, 49},
        {12, 13, 33, 44}, {11, 12, 32, 43}, {11, 11, 29, 40}};
    const UIContentSizeCategory sizes[4] = {
        UIContentSizeCategory::ExtraSmall, UIContentSizeCategory::Large,
        UIContentSizeCategory::AccessibilityExtraLarge,
        UIContentSizeCategory::AccessibilityExtraExtraExtraLarge};
    for (size_t style = 0; style < kUIFontTextStyleCount; ++style) {
        for (size_t size = 0; size < 4; ++size) {
            const auto textStyle = static_cast<UIFontTextStyle>(style);
            UIScreen::setMainScreen(screenIn(UIUserInterfaceStyleLight, sizes[size]));
            EXPECT_EQ(UIFont::preferredFontForTextStyle(textStyle)->pointSize(),
                      expected[style][size])
                << style << " " << size;
            UIScreen::setMainScreen(nullptr);
            // A trait collection's size wins over the screen's.
            EXPECT_EQ(
                UIFont::preferredFontForTextStyle(
                    textStyle, T::traitCollectionWithPreferredContentSizeCategory(sizes[size]))
                    ->pointSize(),
                expected[style][size]);
        }
    }
    EXPECT_EQ(UIFont::preferredFontForTextStyle(UIFontTextStyle::Headline)->weight(),
              UIFont::Weight::Semibold);

    // A label that adjusts makes its font again when the text size changes.
    Ref<UIWindow> window = alloc<UIWindow>()->initWithFrame(CGRectMake(0, 0, 390, 844));
    Ref<UILabel> label = alloc<UILabel>()->init();
    label->setFont(UIFont::preferredFontForTextStyle(UIFontTextStyle::Footnote));
    label->setAdjustsFontForContentSizeCategory(true);
    window->addSubview(label);
    UIScreen::setMainScreen(
        screenIn(UIUserInterfaceStyleLight, UIContentSizeCategory::AccessibilityExtraLarge));
    window->layoutIfNeeded();
    EXPECT_EQ(label->font()->pointSize(), 33);
    UIScreen::setMainScreen(nullptr);
}

} // namespace
