#pragma once

#include <functional>

#include <QuartzCore/CGColor.h>
#include <UIKit/Forward.h>
#include <objc/NSObject.h>

// A colour with red, green, blue and alpha components in the sRGB space, or a
// dynamic colour whose components depend on the traits it is resolved in (the
// system's semantic colours are dynamic: one value in the light appearance,
// another in the dark). Reading a dynamic colour's components or CGColor
// resolves it in the current trait collection at that moment: a CGColor taken
// once keeps the appearance it was taken in.
class UIColor : public NSObject {
public:
    using Provider = std::function<Ref<UIColor>(const Ref<UITraitCollection>&)>;

    static Ref<UIColor> colorWithRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
    static Ref<UIColor> colorWithWhite(CGFloat white, CGFloat alpha);
    Ref<UIColor> initWithRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
    static Ref<UIColor> colorWithDynamicProvider(const Provider& provider);
    // The colour as it shows in `traits`: itself unless it is dynamic.
    Ref<UIColor> resolvedColorWithTraitCollection(const Ref<UITraitCollection>& traits) const;

    static Ref<UIColor> blackColor();
    static Ref<UIColor> whiteColor();
    static Ref<UIColor> grayColor();
    static Ref<UIColor> lightGrayColor();
    static Ref<UIColor> clearColor();
    static Ref<UIColor> redColor();
    // The tinted system colours and the grays.
    static Ref<UIColor> systemBlueColor();
    static Ref<UIColor> systemGreenColor();
    static Ref<UIColor> systemRedColor();
    static Ref<UIColor> systemOrangeColor();
    static Ref<UIColor> systemYellowColor();
    static Ref<UIColor> systemPinkColor();
    static Ref<UIColor> systemPurpleColor();
    static Ref<UIColor> systemTealColor();
    static Ref<UIColor> systemIndigoColor();
    static Ref<UIColor> systemGrayColor();
    static Ref<UIColor> systemGray2Color();
    static Ref<UIColor> systemGray3Color();
    static Ref<UIColor> systemGray4Color();
    static Ref<UIColor> systemGray5Color();
    static Ref<UIColor> systemGray6Color();
    // The semantic colours of text, backgrounds, separators and fills.
    static Ref<UIColor> labelColor();
    static Ref<UIColor> secondaryLabelColor();
    static Ref<UIColor> tertiaryLabelColor();
    static Ref<UIColor> quaternaryLabelColor();
    static Ref<UIColor> placeholderTextColor();
    static Ref<UIColor> linkColor();
    static Ref<UIColor> separatorColor();
    static Ref<UIColor> opaqueSeparatorColor();
    static Ref<UIColor> systemBackgroundColor();
    static Ref<UIColor> secondarySystemBackgroundColor();
    static Ref<UIColor> tertiarySystemBackgroundColor();
    static Ref<UIColor> systemGroupedBackgroundColor();
    static Ref<UIColor> secondarySystemGroupedBackgroundColor();
    static Ref<UIColor> tertiarySystemGroupedBackgroundColor();
    static Ref<UIColor> systemFillColor();
    static Ref<UIColor> secondarySystemFillColor();
    static Ref<UIColor> tertiarySystemFillColor();
    static Ref<UIColor> quaternarySystemFillColor();

    // Writes the components and answers YES: every colour here is an RGB colour.
    bool getRed(CGFloat* red, CGFloat* green, CGFloat* blue, CGFloat* alpha) const;
    CGColorRef CGColor() const;
    // A dynamic colour stays dynamic, each of its values with this alpha.
    Ref<UIColor> colorWithAlphaComponent(CGFloat alpha) const;

    CGFloat red() const { return CGColor()->red; }
    CGFloat green() const { return CGColor()->green; }
    CGFloat blue() const { return CGColor()->blue; }
    CGFloat alpha() const { return CGColor()->alpha; }

    bool isDynamic() const { return static_cast<bool>(_provider); }
    // Dynamic colours are equal only to themselves; others by their components.
    bool isEqual(const UIColor& other) const;

private:
    CGColorRef _color = CGColorCreateSRGB(0, 0, 0, 1);
    Provider _provider;
};

// Equal when both are nil or both hold the same components.
bool UIColorEqual(const Ref<UIColor>& a, const Ref<UIColor>& b);
