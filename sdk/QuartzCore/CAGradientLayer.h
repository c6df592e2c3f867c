#pragma once

#include <vector>

#include <QuartzCore/CALayer.h>

// A layer that fills its bounds with an axial gradient drawn over its
// background. Its colours are spread from the start point to the end point
// (in the unit square of its bounds: top to bottom until set) at their
// locations, evenly when none are given, as on the platform.
class CAGradientLayer : public CALayer {
public:
    static Ref<CAGradientLayer> layer();

    const std::vector<CGColorRef>& colors() const { return _colors; }
    void setColors(std::vector<CGColorRef> colors) { _colors = std::move(colors); }
    const std::vector<CGFloat>& locations() const { return _locations; }
    void setLocations(std::vector<CGFloat> locations) { _locations = std::move(locations); }
    CGPoint startPoint() const { return _startPoint; }
    void setStartPoint(CGPoint point) { _startPoint = point; }
    CGPoint endPoint() const { return _endPoint; }
    void setEndPoint(CGPoint point) { _endPoint = point; }

    // Where each colour stands along the axis, from 0 to 1: the locations
    // when there is one for each colour, else evenly spread.
    std::vector<CGFloat> stops() const;

private:
    std::vector<CGColorRef> _colors;
    std::vector<CGFloat> _locations;
    CGPoint _startPoint{0.5, 0};
    CGPoint _endPoint{0.5, 1};
};
