#pragma once

#include <Foundation/Value.h>
#include <UIKit/Forward.h>

class SDKViewPainter;

// How one kind of view is drawn and described. The base look is a plain
// view's: its layer's background, border and corners, its sublayers and its
// subviews, which the painter draws for every view; a kind's look adds what
// such a view shows on top of that.
class SDKViewLook {
public:
    virtual ~SDKViewLook() = default;

    // Whether this look is the one for the view; the base look takes any.
    virtual bool matches(const UIView&) const { return true; }
    // Draws what the view shows over its background and under its sublayers,
    // in its own coordinates.
    virtual void drawContent(const UIView&, SDKViewPainter&) const {}
    // Draws the view's sublayers and subviews in their order.
    virtual void drawSublayers(const UIView& view, SDKViewPainter& painter) const;
    // Adds what the view shows (texts, colours, values) to its description.
    virtual void describe(const UIView&, Value::Dictionary&) const {}
};
