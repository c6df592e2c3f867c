#include <UIKit/UIColor.h>

#include <Foundation/NSProcessInfo.h>
#include <UIKit/UITraitCollection.h>

namespace {

struct RGBA {
    int red, green, blue;
    CGFloat alpha = 1;
};

// A system colour's values in the light and the dark appearance, and the
// values from an iOS version on where Apple changed them.
struct SystemColorValues {
    RGBA light, dark;
    long changedIn = 0;
    RGBA lightSince{}, darkSince{};
};

Ref<UIColor> make(const RGBA& c) {
    return UIColor::colorWithRed(c.red / 255.0, c.green / 255.0, c.blue / 255.0, c.alpha);
}

// One shared dynamic colour per system colour, as the platform hands out.
Ref<UIColor> systemColor(const SystemColorValues& values) {
    struct Resolved {
        Ref<UIColor> light, dark, lightSince, darkSince;
        long changedIn;
    };
    auto resolved = std::make_shared<const Resolved>(Resolved{
        make(values.light), make(values.dark), values.changedIn ? make(values.lightSince) : nullptr,
        values.changedIn ? make(values.darkSince) : nullptr, values.changedIn});
    return UIColor::colorWithDynamicProvider([resolved](const Ref<UITraitCollection>& traits) {
        const bool dark = traits && traits->userInterfaceStyle() == UIUserInterfaceStyleDark;
        if (resolved->changedIn &&
            NSProcessInfo::processInfo()->operatingSystemVersion().majorVersion >=
                resolved->changedIn) {
            return dark ? resolved->darkSince : resolved->lightSince;
        }
        return dark ? resolved->dark : resolved->light;
    });
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

Ref<UIColor> UIColor::colorWithDynamicProvider(const Provider& provider) {
    Ref<UIColor> color = alloc<UIColor>();
    color->_provider = provider;
    return color;
}

Ref<UIColor> UIColor::resolvedColorWithTraitCollection(const Ref<UITraitCollection>& traits) const {
    if (!_provider) {
        return std::const_pointer_cast<UIColor>(self<UIColor>());
    }
    Ref<UIColor> resolved = _provider(traits);
    // A provider that answers nil or another dynamic colour (which could lead
    // round a loop) shows nothing.
    return resolved && !resolved->_provider ? resolved : clearColor();
}

CGColorRef UIColor::CGColor() const {
    if (!_provider) {
        return _color;
    }
    return resolvedColorWithTraitCollection(UITraitCollection::currentTraitCollection())->_color;
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

// The values below are the platform's for iOS 13 to 18 (Apple's Human
// Interface Guidelines, Color; the semantic colours as UIKit answers them),
// with the tinted colours Apple redrew for iOS 15 (teal) and iOS 26.
#define KL_SYSTEM_COLOR(name, ...)                                                                 \
    Ref<UIColor> UIColor::name() {                                                                 \
        static const Ref<UIColor> color = systemColor(SystemColorValues{__VA_ARGS__});             \
        return color;                                                                              \
    }

KL_SYSTEM_COLOR(systemBlueColor, {0, 122, 255}, {10, 132, 255}, 26, {0, 136, 255}, {0, 145, 255})
KL_SYSTEM_COLOR(systemGreenColor, {52, 199, 89}, {48, 209, 88})
KL_SYSTEM_COLOR(systemRedColor, {255, 59, 48}, {255, 69, 58}, 26, {255, 56, 60}, {255, 66, 69})
KL_SYSTEM_COLOR(systemOrangeColor, {255, 149, 0}, {255, 159, 10})
KL_SYSTEM_COLOR(systemYellowColor, {255, 204, 0}, {255, 214, 10})
KL_SYSTEM_COLOR(systemPinkColor, {255, 45, 85}, {255, 55, 95})
KL_SYSTEM_COLOR(systemPurpleColor, {175, 82, 222}, {191, 90, 242})
KL_SYSTEM_COLOR(systemTealColor, {90, 200, 250}, {100, 210, 255}, 15, {48, 176, 199},
                {64, 200, 224})
KL_SYSTEM_COLOR(systemIndigoColor, {88, 86, 214}, {94, 92, 230})
KL_SYSTEM_COLOR(systemGrayColor, {142, 142, 147}, {142, 142, 147})
KL_SYSTEM_COLOR(systemGray2Color, {174, 174, 178}, {99, 99, 102})
KL_SYSTEM_COLOR(systemGray3Color, {199, 199, 204}, {72, 72, 74})
KL_SYSTEM_COLOR(systemGray4Color, {209, 209, 214}, {58, 58, 60})
KL_SYSTEM_COLOR(systemGray5Color, {229, 229, 234}, {44, 44, 46})
KL_SYSTEM_COLOR(systemGray6Color, {242, 242, 247}, {28, 28, 30})
KL_SYSTEM_COLOR(labelColor, {0, 0, 0}, {255, 255, 255})
KL_SYSTEM_COLOR(secondaryLabelColor, {60, 60, 67, 0.6}, {235, 235, 245, 0.6})
KL_SYSTEM_COLOR(tertiaryLabelColor, {60, 60, 67, 0.3}, {235, 235, 245, 0.3})
KL_SYSTEM_COLOR(quaternaryLabelColor, {60, 60, 67, 0.18}, {235, 235, 245, 0.18})
KL_SYSTEM_COLOR(placeholderTextColor, {60, 60, 67, 0.3}, {235, 235, 245, 0.3})
KL_SYSTEM_COLOR(linkColor, {0, 122, 255}, {9, 132, 255})
KL_SYSTEM_COLOR(separatorColor, {60, 60, 67, 0.29}, {84, 84, 88, 0.6})
KL_SYSTEM_COLOR(opaqueSeparatorColor, {198, 198, 200}, {56, 56, 58})
KL_SYSTEM_COLOR(systemBackgroundColor, {255, 255, 255}, {0, 0, 0})
KL_SYSTEM_COLOR(secondarySystemBackgroundColor, {242, 242, 247}, {28, 28, 30})
KL_SYSTEM_COLOR(tertiarySystemBackgroundColor, {255, 255, 255}, {44, 44, 46})
KL_SYSTEM_COLOR(systemGroupedBackgroundColor, {242, 242, 247}, {0, 0, 0})
KL_SYSTEM_COLOR(secondarySystemGroupedBackgroundColor, {255, 255, 255}, {28, 28, 30})
KL_SYSTEM_COLOR(tertiarySystemGroupedBackgroundColor, {242, 242, 247}, {44, 44, 46})
KL_SYSTEM_COLOR(systemFillColor, {120, 120, 128, 0.2}, {120, 120, 128, 0.36})
KL_SYSTEM_COLOR(secondarySystemFillColor, {120, 120, 128, 0.16}, {120, 120, 128, 0.32})
KL_SYSTEM_COLOR(tertiarySystemFillColor, {118, 118, 128, 0.12}, {118, 118, 128, 0.24})
KL_SYSTEM_COLOR(quaternarySystemFillColor, {116, 116, 128, 0.08}, {118, 118, 128, 0.18})

#undef KL_SYSTEM_COLOR

bool UIColor::getRed(CGFloat* red, CGFloat* green, CGFloat* blue, CGFloat* alpha) const {
    const CGColorRef color = CGColor();
    if (red) {
        *red = color->red;
    }
    if (green) {
        *green = color->green;
    }
    if (blue) {
        *blue = color->blue;
    }
    if (alpha) {
        *alpha = color->alpha;
    }
    return true;
}

Ref<UIColor> UIColor::colorWithAlphaComponent(CGFloat alpha) const {
    if (_provider) {
        Provider provider = _provider;
        return colorWithDynamicProvider([provider, alpha](const Ref<UITraitCollection>& traits) {
            Ref<UIColor> resolved = provider(traits);
            return resolved ? resolved->colorWithAlphaComponent(alpha) : clearColor();
        });
    }
    return colorWithRed(_color->red, _color->green, _color->blue, alpha);
}

bool UIColor::isEqual(const UIColor& other) const {
    if (_provider || other._provider) {
        return this == &other;
    }
    return *_color == *other._color;
}

bool UIColorEqual(const Ref<UIColor>& a, const Ref<UIColor>& b) {
    if (!a || !b) {
        return !a && !b;
    }
    return a->isEqual(*b);
}
