#pragma once

#include <QuartzCore/CGPath.h>
#include <objc/NSObject.h>

class UIBezierPath : public NSObject {
public:
    static Ref<UIBezierPath> bezierPathWithRoundedRect(const CGRect& rect, CGFloat cornerRadius);
    static Ref<UIBezierPath> bezierPathWithRect(const CGRect& rect);
    static Ref<UIBezierPath> bezierPathWithOvalInRect(const CGRect& rect);

    CGPathRef CGPath() const { return _path; }

private:
    CGPathRef _path = std::make_shared<const ::CGPath>();
};
