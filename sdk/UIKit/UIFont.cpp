#include <UIKit/UIFont.h>

#include <array>

#include <UIKit/UIScreen.h>

namespace {

// Point sizes of each text style across the twelve text sizes, extra small
// to accessibility 5, from Apple's Dynamic Type table for iOS (Human
// Interface Guidelines, Typography).
constexpr std::array<std::array<unsigned char, kUIContentSizeCategoryCount>, kUIFontTextStyleCount>
    kPointSizes{{
        {31, 32, 33, 34, 36, 38, 40, 44, 48, 52, 56, 60}, // Large Title
        {25, 26, 27, 28, 30, 32, 34, 38, 43, 48, 53, 58}, // Title 1
        {19, 20, 21, 22, 24, 26, 28, 34, 39, 44, 50, 56}, // Title 2
        {17, 18, 19, 20, 22, 24, 26, 31, 37, 43, 49, 55}, // Title 3
        {14, 15, 16, 17, 19, 21, 23, 28, 33, 40, 47, 53}, // Headline (semibold)
        {14, 15, 16, 17, 19, 21, 23, 28, 33, 40, 47, 53}, // Body
        {13, 14, 15, 16, 18, 20, 22, 26, 32, 38, 44, 51}, // Callout
        {12, 13, 14, 15, 17, 19, 21, 25, 30, 36, 42, 49}, // Subheadline
        {12, 12, 12, 13, 15, 17, 19, 23, 27, 33, 38, 44}, // Footnote
        {11, 11, 11, 12, 14, 16, 18, 22, 26, 32, 37, 43}, // Caption 1
        {11, 11, 11, 11, 13, 15, 17, 20, 24, 29, 34, 40}, // Caption 2
    }};

} // namespace

Ref<UIFont> UIFont::initWithSize(CGFloat size, Weight weight) {
    _pointSize = size;
    _weight = weight;
    return self<UIFont>();
}

Ref<UIFont> UIFont::systemFontOfSize(CGFloat size) {
    return alloc<UIFont>()->initWithSize(size, Weight::Regular);
}

Ref<UIFont> UIFont::boldSystemFontOfSize(CGFloat size) {
    return alloc<UIFont>()->initWithSize(size, Weight::Bold);
}

CGFloat UIFont::pointSizeForTextStyle(UIFontTextStyle style, UIContentSizeCategory category) {
    if (category == UIContentSizeCategory::Unspecified) {
        category = UIContentSizeCategory::Large;
    }
    return kPointSizes[static_cast<size_t>(style)][static_cast<size_t>(category)];
}

Ref<UIFont> UIFont::preferredFontForTextStyle(UIFontTextStyle style) {
    return preferredFontForTextStyle(style, nullptr);
}

Ref<UIFont> UIFont::preferredFontForTextStyle(UIFontTextStyle style,
                                              const Ref<UITraitCollection>& traits) {
    UIContentSizeCategory category =
        traits ? traits->preferredContentSizeCategory() : UIContentSizeCategory::Unspecified;
    if (category == UIContentSizeCategory::Unspecified) {
        category = UIScreen::mainScreen()->traitCollection()->preferredContentSizeCategory();
    }
    Ref<UIFont> font = alloc<UIFont>()->initWithSize(
        pointSizeForTextStyle(style, category),
        style == UIFontTextStyle::Headline ? Weight::Semibold : Weight::Regular);
    font->_textStyle = style;
    return font;
}

Ref<UIFont> UIFont::fontWithSize(CGFloat size) const {
    Ref<UIFont> font = alloc<UIFont>()->initWithSize(size, _weight);
    font->_textStyle = _textStyle;
    return font;
}

// Inter's ascender and descender (0.96875 and 0.2421875 of the em) make its line.
CGFloat UIFont::lineHeight() const {
    return _pointSize * 1.2109375;
}
