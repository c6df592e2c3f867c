#pragma once

#include <QuartzCore/CALayer.h>
#include <QuartzCore/CGPath.h>

// A layer that fills and strokes a path in its own coordinates. The fill is
// opaque black and the stroke none until set, as on the platform.
class CAShapeLayer : public CALayer {
public:
    static Ref<CAShapeLayer> layer();

    CGPathRef path() const { return _path; }
    void setPath(CGPathRef path) { _path = std::move(path); }
    CGColorRef fillColor() const { return _fillColor; }
    void setFillColor(CGColorRef color) { _fillColor = std::move(color); }
    CGColorRef strokeColor() const { return _strokeColor; }
    void setStrokeColor(CGColorRef color) { _strokeColor = std::move(color); }
    CGFloat lineWidth() const { return _lineWidth; }
    void setLineWidth(CGFloat width) { _lineWidth = width; }

private:
    CGPathRef _path;
    CGColorRef _fillColor = CGColorCreateSRGB(0, 0, 0, 1);
    CGColorRef _strokeColor;
    CGFloat _lineWidth = 1;
};
