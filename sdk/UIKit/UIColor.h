#pragma once

#include <QuartzCore/CGColor.h>
#include <objc/NSObject.h>

// A colour with red, green, blue and alpha components in the sRGB space. The
// system colours are the platform's light-mode values.
class UIColor : public NSObject {
public:
    static Ref<UIColor> colorWithRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
    static Ref<UIColor> colorWithWhite(CGFloat white, CGFloat alpha);
    Ref<UIColor> initWithRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);

    static Ref<UIColor> blackColor();
    static Ref<UIColor> whiteColor();
    static Ref<UIColor> grayColor();
    static Ref<UIColor> lightGrayColor();
    static Ref<UIColor> clearColor();
    static Ref<UIColor> redColor();
    static Ref<UIColor> systemBlueColor();
    static Ref<UIColor> systemGrayColor();
    static Ref<UIColor> systemGray4Color();
    static Ref<UIColor> systemGreenColor();
    static Ref<UIColor> systemRedColor();
    static Ref<UIColor> labelColor();
    static Ref<UIColor> secondaryLabelColor();
    static Ref<UIColor> tertiaryLabelColor();
    static Ref<UIColor> separatorColor();
    static Ref<UIColor> opaqueSeparatorColor();
    static Ref<UIColor> systemBackgroundColor();
    static Ref<UIColor> systemGroupedBackgroundColor();
    static Ref<UIColor> secondarySystemGroupedBackgroundColor();
    static Ref<UIColor> systemFillColor();
    static Ref<UIColor> tertiarySystemFillColor();

    // Writes the components and answers YES: every colour here is an RGB colour.
    bool getRed(CGFloat* red, CGFloat* green, CGFloat* blue, CGFloat* alpha) const;
    CGColorRef CGColor() const { return _color; }
    Ref<UIColor> colorWithAlphaComponent(CGFloat alpha) const;

    CGFloat red() const { return _color->red; }
    CGFloat green() const { return _color->green; }
    CGFloat blue() const { return _color->blue; }
    CGFloat alpha() const { return _color->alpha; }

    bool isEqual(const UIColor& other) const { return *_color == *other._color; }

private:
    CGColorRef _color = CGColorCreateSRGB(0, 0, 0, 1);
};

// Equal when both are nil or both hold the same components.
bool UIColorEqual(const Ref<UIColor>& a, const Ref<UIColor>& b);
