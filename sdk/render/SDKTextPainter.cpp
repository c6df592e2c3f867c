#include <render/SDKTextPainter.h>

#include <algorithm>

#include <UIKit/NSStringDrawing.h>
#include <render/SDKCanvas.h>

namespace {

// The smallest size shrinking goes to when the label sets no limit.
constexpr CGFloat kSmallestFontSize = 1;

// Pango reads left and right as the start and end of a paragraph it finds
// to run right to left (Arabic or Hebrew text), where the platform's left and
// right are the box's sides; natural alignment is the view's leading side.
PangoAlignment pangoAlignment(const SDKTextStyle& style, PangoDirection paragraph) {
    NSTextAlignment alignment = style.alignment;
    if (alignment == NSTextAlignmentNatural || alignment == NSTextAlignmentJustified) {
        alignment = style.layoutDirection == UIUserInterfaceLayoutDirectionRightToLeft
                        ? NSTextAlignmentRight
                        : NSTextAlignmentLeft;
    }
    const bool rightToLeft = paragraph == PANGO_DIRECTION_RTL;
    switch (alignment) {
    case NSTextAlignmentCenter:
        return PANGO_ALIGN_CENTER;
    case NSTextAlignmentRight:
        return rightToLeft ? PANGO_ALIGN_LEFT : PANGO_ALIGN_RIGHT;
    default:
        return rightToLeft ? PANGO_ALIGN_RIGHT : PANGO_ALIGN_LEFT;
    }
}

} // namespace

SDKTextPainter::SDKTextPainter(SDKCanvas& canvas)
    : _canvas(canvas), _layout(pango_cairo_create_layout(canvas.cairo())) {
    // The settings text is measured with, so that it draws as wide as it measures.
    NSStringDrawing::prepareContext(pango_layout_get_context(_layout));
}

SDKTextPainter::~SDKTextPainter() {
    g_object_unref(_layout);
}

void SDKTextPainter::setUp(const std::string& text, const SDKTextStyle& style, CGFloat fontSize,
                           CGFloat width) {
    pango_cairo_update_layout(_canvas.cairo(), _layout);
    PangoFontDescription* font =
        NSStringDrawing::newFontDescription(alloc<UIFont>()->initWithSize(fontSize, style.weight));
    pango_layout_set_font_description(_layout, font);
    pango_font_description_free(font);
    pango_layout_set_text(_layout, text.data(), static_cast<int>(text.size()));
    // Each paragraph's direction is that of its first letter, as on the
    // platform, so that mixed Latin and Arabic text orders as it does there.
    pango_layout_set_auto_dir(_layout, TRUE);
    pango_layout_set_justify(_layout, style.alignment == NSTextAlignmentJustified);
    if (width <= 0) {
        pango_layout_set_width(_layout, -1);
        pango_layout_set_ellipsize(_layout, PANGO_ELLIPSIZE_NONE);
        align(style);
        return;
    }
    pango_layout_set_width(_layout, static_cast<int>(width * PANGO_SCALE));
    pango_layout_set_wrap(_layout, PANGO_WRAP_WORD_CHAR);
    if (style.numberOfLines == 0) {
        pango_layout_set_ellipsize(_layout, PANGO_ELLIPSIZE_NONE);
    } else {
        // A negative height limits the lines of each paragraph; the last one
        // kept ends in an ellipsis when text remains.
        pango_layout_set_ellipsize(_layout, PANGO_ELLIPSIZE_END);
        pango_layout_set_height(_layout, -static_cast<int>(style.numberOfLines));
    }
    align(style);
}

void SDKTextPainter::align(const SDKTextStyle& style) {
    const PangoLayoutLine* first = pango_layout_get_line_readonly(_layout, 0);
    pango_layout_set_alignment(
        _layout, pangoAlignment(style, first ? static_cast<PangoDirection>(first->resolved_dir)
                                             : PANGO_DIRECTION_LTR));
}

CGFloat SDKTextPainter::fittingFontSize(const std::string& text, const SDKTextStyle& style,
                                        CGFloat width) {
    if (!style.shrinksToFit || style.numberOfLines != 1 || width <= 0) {
        return style.fontSize;
    }
    setUp(text, style, style.fontSize, 0);
    PangoRectangle logical;
    pango_layout_get_extents(_layout, nullptr, &logical);
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
    setUp(text, style, fontSize, width > 0 ? width : -1);
    PangoRectangle logical;
    pango_layout_get_extents(_layout, nullptr, &logical);
    const CGFloat height = static_cast<CGFloat>(logical.height) / PANGO_SCALE;
    const CGFloat top =
        style.centresVertically ? box.origin.y + (box.size.height - height) / 2 : box.origin.y;
    _canvas.setColor(style.color);
    cairo_move_to(_canvas.cairo(), box.origin.x,
                  top - static_cast<CGFloat>(logical.y) / PANGO_SCALE);
    pango_cairo_show_layout(_canvas.cairo(), _layout);
    return fontSize;
}

SDKTextPainter::Placement SDKTextPainter::placeText(const std::string& text,
                                                    const SDKTextStyle& style, const CGRect& box) {
    if (text.empty()) {
        return {};
    }
    const CGFloat width = std::max(box.size.width, 0.0);
    setUp(text, style, fittingFontSize(text, style, width), width > 0 ? width : -1);
    PangoRectangle ink;
    PangoRectangle logical;
    pango_layout_get_extents(_layout, &ink, &logical);
    const CGFloat height = static_cast<CGFloat>(logical.height) / PANGO_SCALE;
    const CGFloat top =
        style.centresVertically ? box.origin.y + (box.size.height - height) / 2 : box.origin.y;
    const CGFloat scale = PANGO_SCALE;
    return {CGRectMake(box.origin.x + ink.x / scale, top + (ink.y - logical.y) / scale,
                       ink.width / scale, ink.height / scale),
            pango_layout_is_ellipsized(_layout) != FALSE};
}

CGSize SDKTextPainter::measureText(const std::string& text, const SDKTextStyle& style,
                                   CGFloat width) {
    setUp(text, style, style.fontSize, style.numberOfLines == 1 ? 0 : width);
    PangoRectangle logical;
    pango_layout_get_extents(_layout, nullptr, &logical);
    return CGSizeMake(static_cast<CGFloat>(logical.width) / PANGO_SCALE,
                      static_cast<CGFloat>(logical.height) / PANGO_SCALE);
}
