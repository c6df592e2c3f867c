#pragma once

#include <memory>

#include <QuartzCore/CGGeometry.h>

// An sRGB colour with red, green, blue and alpha components. Extended-range
// components (below 0 or above 1) are kept as given, as the platform keeps them.
struct CGColor {
    CGFloat red = 0;
    CGFloat green = 0;
    CGFloat blue = 0;
    CGFloat alpha = 1;
    bool operator==(const CGColor&) const = default;
};

// A colour reference; nil is "no colour" (nothing drawn).
using CGColorRef = std::shared_ptr<const CGColor>;

inline CGColorRef CGColorCreateSRGB(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha) {
    return std::make_shared<const CGColor>(CGColor{red, green, blue, alpha});
}
