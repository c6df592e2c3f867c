#include <Foundation/Value.h>
#include <render/SDKDescription.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

std::string SDKDescription::hex(const CGColor& color) {
    auto byte = [](CGFloat component) {
        return static_cast<unsigned>(std::lround(std::clamp(component, 0.0, 1.0) * 255));
    };
    char text[10];
    std::snprintf(text, sizeof text, "#%02X%02X%02X%02X", byte(color.red), byte(color.green),
                  byte(color.blue), byte(color.alpha));
    return text;
}

Value SDKDescription::color(const CGColorRef& color) {
    return color ? Value(hex(*color)) : Value();
}

Value SDKDescription::color(const Ref<UIColor>& uiColor) {
    return uiColor ? color(uiColor->CGColor()) : Value();
}

Value SDKDescription::rect(const CGRect& rect) {
    return Value::Dictionary{{"x", rect.origin.x},
                             {"y", rect.origin.y},
                             {"width", rect.size.width},
                             {"height", rect.size.height}};
}
