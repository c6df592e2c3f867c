#include <QuartzCore/CGPath.h>

#include <algorithm>
#include <limits>

void CGPath::moveTo(CGPoint point) {
    _elements.push_back({ElementType::MoveToPoint, {point}});
}

void CGPath::lineTo(CGPoint point) {
    _elements.push_back({ElementType::AddLineToPoint, {point}});
}

void CGPath::curveTo(CGPoint control1, CGPoint control2, CGPoint end) {
    _elements.push_back({ElementType::AddCurveToPoint, {control1, control2, end}});
}

void CGPath::close() {
    _elements.push_back({ElementType::CloseSubpath, {}});
}

void CGPath::addRoundedRect(const CGRect& rect, CGFloat cornerRadius) {
    const CGFloat r =
        std::clamp(cornerRadius, 0.0, std::min(rect.size.width, rect.size.height) / 2);
    // Distance of the control points from the corner for a quarter circle.
    const CGFloat k = r * (1 - 0.5522847498307936);
    const CGFloat minX = CGRectGetMinX(rect), maxX = CGRectGetMaxX(rect);
    const CGFloat minY = CGRectGetMinY(rect), maxY = CGRectGetMaxY(rect);
    moveTo({minX + r, minY});
    lineTo({maxX - r, minY});
    curveTo({maxX - k, minY}, {maxX, minY + k}, {maxX, minY + r});
    lineTo({maxX, maxY - r});
    curveTo({maxX, maxY - k}, {maxX - k, maxY}, {maxX - r, maxY});
    lineTo({minX + r, maxY});
    curveTo({minX + k, maxY}, {minX, maxY - k}, {minX, maxY - r});
    lineTo({minX, minY + r});
    curveTo({minX, minY + k}, {minX + k, minY}, {minX + r, minY});
    close();
}

CGRect CGPath::boundingBox() const {
    CGFloat minX = std::numeric_limits<CGFloat>::infinity(), minY = minX;
    CGFloat maxX = -minX, maxY = -minX;
    for (const Element& element : _elements) {
        const int count = element.type == ElementType::AddCurveToPoint ? 3
                          : element.type == ElementType::CloseSubpath  ? 0
                                                                       : 1;
        for (int i = 0; i < count; ++i) {
            minX = std::min(minX, element.points[i].x);
            minY = std::min(minY, element.points[i].y);
            maxX = std::max(maxX, element.points[i].x);
            maxY = std::max(maxY, element.points[i].y);
        }
    }
    if (minX > maxX) {
        return CGRectZero;
    }
    return CGRectMake(minX, minY, maxX - minX, maxY - minY);
}
