#include <render/SDKViewPainter.h>

#include <unordered_set>

#include <QuartzCore/CAGradientLayer.h>
#include <QuartzCore/CAShapeLayer.h>
#include <UIKit/UIView.h>
#include <render/SDKCanvas.h>

SDKViewPainter::SDKViewPainter(SDKCanvas& canvas, const SDKLookRegistry& looks)
    : _canvas(canvas), _text(canvas), _looks(looks) {}

void SDKViewPainter::drawView(const UIView& view) {
    const CALayer& layer = *view.layer();
    if (layer.isHidden() || layer.opacity() <= 0) {
        return;
    }
    const CGRect frame = view.frame();
    if (layer.masksToBounds() && !_canvas.isVisible(frame)) {
        return;
    }
    cairo_t* cairo = _canvas.cairo();
    SDKCanvas::State state(_canvas);
    // Dynamic colours drawn for this view resolve in its traits.
    UITraitCollection::CurrentScope traits(view.traitCollection());
    cairo_translate(cairo, frame.origin.x, frame.origin.y);
    const bool translucent = layer.opacity() < 1;
    if (translucent) {
        cairo_push_group(cairo);
    }
    drawLayerBody(layer, &view);
    if (translucent) {
        cairo_pop_group_to_source(cairo);
        cairo_paint_with_alpha(cairo, layer.opacity());
    }
}

void SDKViewPainter::drawLayer(const CALayer& layer) {
    if (layer.isHidden() || layer.opacity() <= 0) {
        return;
    }
    cairo_t* cairo = _canvas.cairo();
    SDKCanvas::State state(_canvas);
    cairo_translate(cairo, layer.frame().origin.x, layer.frame().origin.y);
    const bool translucent = layer.opacity() < 1;
    if (translucent) {
        cairo_push_group(cairo);
    }
    drawLayerBody(layer, nullptr);
    if (translucent) {
        cairo_pop_group_to_source(cairo);
        cairo_paint_with_alpha(cairo, layer.opacity());
    }
}

void SDKViewPainter::drawLayerBody(const CALayer& layer, const UIView* view) {
    const CGRect bounds = layer.bounds();
    const CGFloat radius = layer.cornerRadius();
    {
        SDKCanvas::State state(_canvas);
        if (layer.masksToBounds()) {
            _canvas.clipToRoundedRect(bounds, radius);
        }
        if (const CGColorRef& background = layer.backgroundColor()) {
            _canvas.fillRoundedRect(bounds, radius, *background);
        }
        if (auto gradient = dynamic_cast<const CAGradientLayer*>(&layer);
            gradient && !gradient->colors().empty()) {
            fillGradient(*gradient, bounds, radius);
        }
        if (auto shape = dynamic_cast<const CAShapeLayer*>(&layer); shape && shape->path()) {
            cairo_t* cairo = _canvas.cairo();
            if (shape->fillColor()) {
                _canvas.setColor(*shape->fillColor());
                _canvas.addPath(*shape->path());
                cairo_fill(cairo);
            }
            if (shape->strokeColor() && shape->lineWidth() > 0) {
                _canvas.setColor(*shape->strokeColor());
                _canvas.addPath(*shape->path());
                cairo_set_line_width(cairo, shape->lineWidth());
                cairo_stroke(cairo);
            }
        }
        if (view) {
            const SDKViewLook& look = _looks.lookForView(*view);
            look.drawContent(*view, *this);
            look.drawSublayers(*view, *this);
        } else {
            for (const Ref<CALayer>& sublayer : layer.sublayers()) {
                drawLayer(*sublayer);
            }
        }
    }
    if (const CGColorRef& border = layer.borderColor(); border && layer.borderWidth() > 0) {
        _canvas.fillInnerBorder(bounds, radius, layer.borderWidth(), *border);
    }
}

void SDKViewPainter::fillGradient(const CAGradientLayer& layer, const CGRect& bounds,
                                  CGFloat radius) {
    const CGPoint start = layer.startPoint(), end = layer.endPoint();
    cairo_pattern_t* pattern =
        cairo_pattern_create_linear(start.x * bounds.size.width, start.y * bounds.size.height,
                                    end.x * bounds.size.width, end.y * bounds.size.height);
    const std::vector<CGFloat> stops = layer.stops();
    for (size_t i = 0; i < stops.size(); ++i) {
        const CGColor color = layer.colors()[i] ? *layer.colors()[i] : CGColor{0, 0, 0, 0};
        cairo_pattern_add_color_stop_rgba(
            pattern, std::clamp(stops[i], 0.0, 1.0), std::clamp(color.red, 0.0, 1.0),
            std::clamp(color.green, 0.0, 1.0), std::clamp(color.blue, 0.0, 1.0),
            std::clamp(color.alpha, 0.0, 1.0));
    }
    cairo_t* cairo = _canvas.cairo();
    cairo_set_source(cairo, pattern);
    _canvas.roundedRectPath(bounds, radius);
    cairo_fill(cairo);
    cairo_pattern_destroy(pattern);
}

void SDKViewPainter::drawSublayersOf(const UIView& view,
                                     const std::function<bool(const UIView&)>& skip) {
    const std::vector<Ref<CALayer>>& sublayers = view.layer()->sublayers();
    const std::vector<Ref<UIView>>& subviews = view.subviews();
    auto draw = [&](const UIView& subview) {
        if (!skip || !skip(subview)) {
            drawView(subview);
        }
    };
    // Usually the sublayers are exactly the subviews' layers, in order.
    bool onlySubviews = sublayers.size() == subviews.size();
    for (size_t i = 0; onlySubviews && i < sublayers.size(); ++i) {
        onlySubviews = sublayers[i] == subviews[i]->layer();
    }
    if (onlySubviews) {
        for (const Ref<UIView>& subview : subviews) {
            draw(*subview);
        }
        return;
    }
    // Otherwise subviews go, in their order, where their layers stand among
    // the layers of no view.
    std::unordered_set<const CALayer*> viewLayers;
    for (const Ref<UIView>& subview : subviews) {
        viewLayers.insert(subview->layer().get());
    }
    size_t nextSubview = 0;
    for (const Ref<CALayer>& sublayer : sublayers) {
        if (!viewLayers.count(sublayer.get())) {
            drawLayer(*sublayer);
        } else if (nextSubview < subviews.size()) {
            draw(*subviews[nextSubview++]);
        }
    }
}
