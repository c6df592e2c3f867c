#pragma once

#include <cmath>

using CGFloat = double;

struct CGPoint {
    CGFloat x = 0;
    CGFloat y = 0;
    bool operator==(const CGPoint&) const = default;
};

struct CGSize {
    CGFloat width = 0;
    CGFloat height = 0;
    bool operator==(const CGSize&) const = default;
};

struct CGRect {
    CGPoint origin;
    CGSize size;
    bool operator==(const CGRect&) const = default;
};

inline constexpr CGRect CGRectZero{};

inline constexpr CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat width, CGFloat height) {
    return CGRect{{x, y}, {width, height}};
}
inline constexpr CGPoint CGPointMake(CGFloat x, CGFloat y) {
    return CGPoint{x, y};
}
inline constexpr CGSize CGSizeMake(CGFloat width, CGFloat height) {
    return CGSize{width, height};
}

inline CGFloat CGRectGetMinX(const CGRect& r) {
    return r.origin.x;
}
inline CGFloat CGRectGetMinY(const CGRect& r) {
    return r.origin.y;
}
inline CGFloat CGRectGetMaxX(const CGRect& r) {
    return r.origin.x + r.size.width;
}
inline CGFloat CGRectGetMaxY(const CGRect& r) {
    return r.origin.y + r.size.height;
}
inline CGFloat CGRectGetMidX(const CGRect& r) {
    return r.origin.x + r.size.width / 2;
}
inline CGFloat CGRectGetMidY(const CGRect& r) {
    return r.origin.y + r.size.height / 2;
}
inline CGFloat CGRectGetWidth(const CGRect& r) {
    return r.size.width;
}
inline CGFloat CGRectGetHeight(const CGRect& r) {
    return r.size.height;
}

inline bool CGRectContainsPoint(const CGRect& r, CGPoint p) {
    return p.x >= r.origin.x && p.y >= r.origin.y && p.x < CGRectGetMaxX(r) &&
           p.y < CGRectGetMaxY(r);
}
