#pragma once

#include <string>

#include <Foundation/Forward.h>
#include <QuartzCore/CGColor.h>
#include <QuartzCore/Forward.h>
#include <UIKit/UIColor.h>

// The forms in which descriptions of views give colours and rectangles.
class SDKDescription {
public:
    SDKDescription() = delete;

    // "#RRGGBBAA", each component rounded to a byte and clamped to 00..FF.
    static std::string hex(const CGColor& color);
    // The colour's hex form; nil for no colour.
    static Value color(const CGColorRef& color);
    static Value color(const Ref<UIColor>& color);
    // {"x", "y", "width", "height"} in points.
    static Value rect(const CGRect& rect);
};
