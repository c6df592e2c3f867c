#pragma once

#include <functional>

#include <QuartzCore/Forward.h>
#include <UIKit/Forward.h>
#include <render/Forward.h>
#include <render/SDKLookRegistry.h>
#include <render/SDKTextPainter.h>

// Draws view trees on a canvas as Core Animation composites layers: for each
// view its layer's background (rounded by the corner radius), what the view
// shows, its sublayers and subviews (clipped when the layer masks to its
// bounds), then its border on top; hidden views are skipped and translucent
// ones composited at their opacity.
class SDKViewPainter {
public:
    explicit SDKViewPainter(SDKCanvas& canvas,
                            const SDKLookRegistry& looks = SDKLookRegistry::standard());

    SDKCanvas& canvas() { return _canvas; }
    SDKTextPainter& text() { return _text; }

    // Draws the view at its frame, in its superview's coordinates.
    void drawView(const UIView& view);
    // Draws a layer of no view at its frame, in its superlayer's coordinates.
    void drawLayer(const CALayer& layer);
    // Draws a view's sublayers and subviews in order, leaving out the
    // subviews `skip` names (which a look has drawn itself).
    void drawSublayersOf(const UIView& view,
                         const std::function<bool(const UIView&)>& skip = nullptr);

private:
    // Everything inside a layer's bounds, with `view` the view it belongs to.
    void drawLayerBody(const CALayer& layer, const UIView* view);
    void fillGradient(const CAGradientLayer& layer, const CGRect& bounds, CGFloat radius);

    SDKCanvas& _canvas;
    SDKTextPainter _text;
    const SDKLookRegistry& _looks;
};
