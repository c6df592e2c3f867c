#include <UIKit/UIColor.h>

namespace {

Ref<UIColor> rgb255(int red, int green, int blue, CGFloat alpha = 1.0) {
    return UIColor::colorWithRed(red / 255.0, green / 255.0, blue / 255.0, alpha);
}

} // namespace

Ref<UIColor> UIColor::initWithRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha) {
    _color = CGColorCreateSRGB(red, green, blue, alpha);
    return self<UIColor>();
}

Ref<UIColor> UIColor::colorWithRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha) {
    return alloc<UIColor>()->initWithRed(red, green, blue, alpha);
}

Ref<UIColor> UIColor::colorWithWhite(CGFloat white, CGFloat alpha) {
    return colorWithRed(white, white, white, alpha);
}

Ref<UIColor> UIColor::blackColor() {
    return colorWithWhite(0, 1);
}
Ref<UIColor> UIColor::whiteColor() {
    return colorWithWhite(1, 1);
}
Ref<UIColor> UIColor::grayColor() {
    return colorWithWhite(0.5, 1);
}
Ref<UIColor> UIColor::lightGrayColor() {
    return colorWithWhite(2.0 / 3.0, 1);
}
Ref<UIColor> UIColor::clearColor() {
    return colorWithWhite(0, 0);
}
Ref<UIColor> UIColor::redColor() {
    return colorWithRed(1, 0, 0, 1);
}
Ref<UIColor> UIColor::systemBlueColor() {
    return rgb255(0, 122, 255);
}
Ref<UIColor> UIColor::systemGrayColor() {
    return rgb255(142, 142, 147);
}
Ref<UIColor> UIColor::systemGray4Color() {
    return rgb255(209, 209, 214);
}
Ref<UIColor> UIColor::systemGreenColor() {
    return rgb255(52, 199, 89);
}
Ref<UIColor> UIColor::systemRedColor() {
    return rgb255(255, 59, 48);
}
Ref<UIColor> UIColor::labelColor() {
    return colorWithWhite(0, 1);
}
Ref<UIColor> UIColor::secondaryLabelColor() {
    return rgb255(60, 60, 67, 0.6);
}
Ref<UIColor> UIColor::tertiaryLabelColor() {
    return rgb255(60, 60, 67, 0.3);
}
Ref<UIColor> UIColor::separatorColor() {
    return rgb255(60, 60, 67, 0.29);
}
Ref<UIColor> UIColor::opaqueSeparatorColor() {
    return rgb255(198, 198, 200);
}
Ref<UIColor> UIColor::systemBackgroundColor() {
    return colorWithWhite(1, 1);
}
Ref<UIColor> UIColor::systemGroupedBackgroundColor() {
    return rgb255(242, 242, 247);
}
Ref<UIColor> UIColor::secondarySystemGroupedBackgroundColor() {
    return colorWithWhite(1, 1);
}
Ref<UIColor> UIColor::systemFillColor() {
    return rgb255(120, 120, 128, 0.2);
}
Ref<UIColor> UIColor::tertiarySystemFillColor() {
    return rgb255(118, 118, 128, 0.12);
}

bool UIColor::getRed(CGFloat* red, CGFloat* green, CGFloat* blue, CGFloat* alpha) const {
    if (red) {
        *red = _color->red;
    }
    if (green) {
        *green = _color->green;
    }
    if (blue) {
        *blue = _color->blue;
    }
    if (alpha) {
        *alpha = _color->alpha;
    }
    return true;
}

Ref<UIColor> UIColor::colorWithAlphaComponent(CGFloat alpha) const {
    return colorWithRed(_color->red, _color->green, _color->blue, alpha);
}

bool UIColorEqual(const Ref<UIColor>& a, const Ref<UIColor>& b) {
    if (!a || !b) {
        return !a && !b;
    }
    return a->isEqual(*b);
}
