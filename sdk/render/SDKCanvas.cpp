#include <QuartzCore/CGColor.h>
#include <render/SDKCanvas.h>

#include <algorithm>

SDKCanvas::SDKCanvas(cairo_t* cairo, double scale) : _cairo(cairo), _scale(scale) {}

void SDKCanvas::setColor(const CGColor& color) {
    cairo_set_source_rgba(_cairo, std::clamp(color.red, 0.0, 1.0),
                          std::clamp(color.green, 0.0, 1.0), std::clamp(color.blue, 0.0, 1.0),
                          std::clamp(color.alpha, 0.0, 1.0));
}

void SDKCanvas::fillRect(const CGRect& rect, const CGColor& color) {
    setColor(color);
    cairo_rectangle(_cairo, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
    cairo_fill(_cairo);
}

void SDKCanvas::roundedRectPath(const CGRect& rect, CGFloat radius) {
    CGPath path;
    path.addRoundedRect(rect, radius);
    addPath(path);
}

void SDKCanvas::fillRoundedRect(const CGRect& rect, CGFloat radius, const CGColor& color) {
    setColor(color);
    roundedRectPath(rect, radius);
    cairo_fill(_cairo);
}

void SDKCanvas::fillInnerBorder(const CGRect& rect, CGFloat radius, CGFloat width,
                                const CGColor& color) {
    if (width <= 0) {
        return;
    }
    const CGFloat inset = std::min({width, rect.size.width / 2, rect.size.height / 2});
    const CGRect inner = CGRectMake(rect.origin.x + inset, rect.origin.y + inset,
                                    rect.size.width - 2 * inset, rect.size.height - 2 * inset);
    setColor(color);
    cairo_set_fill_rule(_cairo, CAIRO_FILL_RULE_EVEN_ODD);
    roundedRectPath(rect, radius);
    if (inner.size.width > 0 && inner.size.height > 0) {
        roundedRectPath(inner, std::max(0.0, radius - inset));
    }
    cairo_fill(_cairo);
    cairo_set_fill_rule(_cairo, CAIRO_FILL_RULE_WINDING);
}

void SDKCanvas::clipToRoundedRect(const CGRect& rect, CGFloat radius) {
    if (radius > 0) {
        roundedRectPath(rect, radius);
    } else {
        cairo_rectangle(_cairo, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
    }
    cairo_clip(_cairo);
}

void SDKCanvas::addPath(const CGPath& path) {
    for (const CGPath::Element& element : path.elements()) {
        const CGPoint* p = element.points;
        switch (element.type) {
        case CGPath::ElementType::MoveToPoint:
            cairo_move_to(_cairo, p[0].x, p[0].y);
            break;
        case CGPath::ElementType::AddLineToPoint:
            cairo_line_to(_cairo, p[0].x, p[0].y);
            break;
        case CGPath::ElementType::AddCurveToPoint:
            cairo_curve_to(_cairo, p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y);
            break;
        case CGPath::ElementType::CloseSubpath:
            cairo_close_path(_cairo);
            break;
        }
    }
}

CGRect SDKCanvas::visibleRect() const {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    cairo_clip_extents(_cairo, &x1, &y1, &x2, &y2);
    return CGRectMake(x1, y1, x2 - x1, y2 - y1);
}

bool SDKCanvas::isVisible(const CGRect& rect) const {
    const CGRect visible = visibleRect();
    return rect.origin.x < CGRectGetMaxX(visible) && CGRectGetMaxX(rect) > visible.origin.x &&
           rect.origin.y < CGRectGetMaxY(visible) && CGRectGetMaxY(rect) > visible.origin.y;
}
