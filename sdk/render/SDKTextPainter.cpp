#include <render/SDKTextPainter.h>

#include <algorithm>

#include <render/SDKCanvas.h>
#include <render/SDKTextLayoutCache.h>

namespace {

// The smallest size shrinking goes to when the label sets no limit.
constexpr CGFloat kSmallestFontSize = 1;

} // namespace

SDKTextPainter::SDKTextPainter(SDKCanvas& canvas) : _canvas(canvas) {}

PangoLayout* SDKTextPainter::setUp(const std::string& text, const SDKTextStyle& style,
                                   CGFloat fontSize, CGFloat width) {
    return SDKTextLayoutCache::layout(_canvas.cairo(), text, style, fontSize, width);
}

CGFloat SDKTextPainter::fittingFontSize(const std::string& text, const SDKTextStyle& style,
                                        CGFloat width) {
    if (!style.shrinksToFit || style.numberOfLines != 1 || width <= 0) {
        return style.fontSize;
    }
    PangoRectangle logical;
    pango_layout_get_extents(setUp(text, style, style.fontSize, 0), nullptr, &logical);
    const CGFloat natural = static_cast<CGFloat>(logical.width) / PANGO_SCALE;
    if (natural <= width) {
        return style.fontSize;
    }
    const CGFloat smallest = style.minimumScaleFactor > 0
                                 ? style.fontSize * std::min(style.minimumScaleFactor, 1.0)
                                 : kSmallestFontSize;
    // Text widens in proportion to its size; a hair under keeps it from the edge.
    return std::max(smallest, style.fontSize * width / natural * 0.999);
}

CGFloat SDKTextPainter::drawText(const std::string& text, const SDKTextStyle& style,
                                 const CGRect& box) {
    if (text.empty() || style.color.alpha <= 0) {
        return style.fontSize;
    }
    const CGFloat width = std::max(box.size.width, 0.0);
    const CGFloat fontSize = fittingFontSize(text, style, width);
    PangoLayout* layout = setUp(text, style, fontSize, width > 0 ? width : -1);
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    const CGFloat height = static_cast<CGFloat>(logical.height) / PANGO_SCALE;
    const CGFloat top =
        style.centresVertically ? box.origin.y + (box.size.height - height) / 2 : box.origin.y;
    _canvas.setColor(style.color);
    cairo_move_to(_canvas.cairo(), box.origin.x,
                  top - static_cast<CGFloat>(logical.y) / PANGO_SCALE);
    pango_cairo_show_layout(_canvas.cairo(), layout);
    return fontSize;
}

SDKTextPainter::Placement SDKTextPainter::placeText(const std::string& text,
                                                    const SDKTextStyle& style, const CGRect& box) {
    if (text.empty()) {
        return {};
    }
    const CGFloat width = std::max(box.size.width, 0.0);
    PangoLayout* layout =
        setUp(text, style, fittingFontSize(text, style, width), width > 0 ? width : -1);
    PangoRectangle ink;
    PangoRectangle logical;
    pango_layout_get_extents(layout, &ink, &logical);
    const CGFloat height = static_cast<CGFloat>(logical.height) / PANGO_SCALE;
    const CGFloat top =
        style.centresVertically ? box.origin.y + (box.size.height - height) / 2 : box.origin.y;
    const CGFloat scale = PANGO_SCALE;
    return {CGRectMake(box.origin.x + ink.x / scale, top + (ink.y - logical.y) / scale,
                       ink.width / scale, ink.height / scale),
            pango_layout_is_ellipsized(layout) != FALSE};
}

CGSize SDKTextPainter::measureText(const std::string& text, const SDKTextStyle& style,
                                   CGFloat width) {
    PangoRectangle logical;
    pango_layout_get_extents(
        setUp(text, style, style.fontSize, style.numberOfLines == 1 ? 0 : width), nullptr,
        &logical);
    return CGSizeMake(static_cast<CGFloat>(logical.width) / PANGO_SCALE,
                      static_cast<CGFloat>(logical.height) / PANGO_SCALE);
}
