#pragma once

#include <cairo.h>

#include <QuartzCore/CGGeometry.h>
#include <QuartzCore/CGPath.h>
#include <QuartzCore/Forward.h>

// A Cairo context that draws in points at a pixel scale (1 to 3), with the
// shapes every look needs: colours, rounded rectangles, paths, hairlines.
class SDKCanvas {
public:
    SDKCanvas(cairo_t* cairo, double scale);

    cairo_t* cairo() const { return _cairo; }
    double scale() const { return _scale; }
    // One device pixel, in points: the width of a separator.
    double hairline() const { return 1.0 / _scale; }

    void setColor(const CGColor& color);
    void fillRect(const CGRect& rect, const CGColor& color);
    // A rectangle with circular corners, as a layer's corner radius rounds it.
    void roundedRectPath(const CGRect& rect, CGFloat radius);
    void fillRoundedRect(const CGRect& rect, CGFloat radius, const CGColor& color);
    // The band of `width` just inside the rounded rectangle, as a layer's border lies.
    void fillInnerBorder(const CGRect& rect, CGFloat radius, CGFloat width, const CGColor& color);
    void clipToRoundedRect(const CGRect& rect, CGFloat radius);
    void addPath(const CGPath& path);

    // The part of the drawing surface still visible through the clip, in the
    // current coordinates; what lies outside it need not be drawn.
    CGRect visibleRect() const;
    bool isVisible(const CGRect& rect) const;

    // Saves and restores the graphics state around a scope.
    class State {
    public:
        explicit State(SDKCanvas& canvas) : _cairo(canvas.cairo()) { cairo_save(_cairo); }
        ~State() { cairo_restore(_cairo); }
        State(const State&) = delete;
        State& operator=(const State&) = delete;

    private:
        cairo_t* _cairo;
    };

private:
    cairo_t* _cairo;
    double _scale;
};
