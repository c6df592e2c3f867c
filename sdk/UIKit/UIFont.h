#pragma once

#include <optional>
#include <string>

#include <QuartzCore/CGGeometry.h>
#include <UIKit/UITraitCollection.h>
#include <objc/Forward.h>

// The platform's text styles, in the order of its type tables.
enum class UIFontTextStyle {
    LargeTitle,
    Title1,
    Title2,
    Title3,
    Headline,
    Body,
    Callout,
    Subheadline,
    Footnote,
    Caption1,
    Caption2,
};
inline constexpr size_t kUIFontTextStyleCount = 11;

// A font of the system family at a size and weight. Inter stands in for the
// system font. A font made for a text style remembers the style, so that a
// label that adjusts to the text size can make it again at another size.
class UIFont : public NSObject {
public:
    enum class Weight { Regular, Semibold, Bold };

    static Ref<UIFont> systemFontOfSize(CGFloat size);
    static Ref<UIFont> boldSystemFontOfSize(CGFloat size);
    Ref<UIFont> initWithSize(CGFloat size, Weight weight);
    // The style's font at the text size the person chose in Settings (the
    // main screen's), or at the size of `traits` when it specifies one.
    static Ref<UIFont> preferredFontForTextStyle(UIFontTextStyle style);
    static Ref<UIFont> preferredFontForTextStyle(UIFontTextStyle style,
                                                 const Ref<UITraitCollection>& traits);
    // The style's size in points at a text size (Apple's Dynamic Type table).
    static CGFloat pointSizeForTextStyle(UIFontTextStyle style, UIContentSizeCategory category);

    CGFloat pointSize() const { return _pointSize; }
    Weight weight() const { return _weight; }
    const std::optional<UIFontTextStyle>& textStyle() const { return _textStyle; }
    std::string familyName() const { return "Inter"; }
    // The same face at another size, as fonts are scaled to fit.
    Ref<UIFont> fontWithSize(CGFloat size) const;
    // Distance from one baseline to the next for a single line, in points.
    CGFloat lineHeight() const;

    bool isEqual(const UIFont& other) const {
        return _pointSize == other._pointSize && _weight == other._weight;
    }

private:
    CGFloat _pointSize = 17;
    Weight _weight = Weight::Regular;
    std::optional<UIFontTextStyle> _textStyle;
};
