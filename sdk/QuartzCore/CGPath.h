#pragma once

#include <memory>
#include <vector>

#include <QuartzCore/CGGeometry.h>

// A vector path: move, line, cubic curve and close elements, as Core Graphics
// keeps them.
class CGPath {
public:
    enum class ElementType { MoveToPoint, AddLineToPoint, AddCurveToPoint, CloseSubpath };
    struct Element {
        ElementType type;
        CGPoint points[3];
    };

    void moveTo(CGPoint point);
    void lineTo(CGPoint point);
    void curveTo(CGPoint control1, CGPoint control2, CGPoint end);
    void close();
    // A rectangle with circular corners of the given radius (clamped to half
    // the shorter side), drawn clockwise from the top-left corner.
    void addRoundedRect(const CGRect& rect, CGFloat cornerRadius);

    const std::vector<Element>& elements() const { return _elements; }
    bool isEmpty() const { return _elements.empty(); }
    // The smallest rectangle holding every point of the path, control points included.
    CGRect boundingBox() const;

private:
    std::vector<Element> _elements;
};

using CGPathRef = std::shared_ptr<const CGPath>;
