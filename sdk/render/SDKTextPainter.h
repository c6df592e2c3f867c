#pragma once

#include <string>

#include <pango/pangocairo.h>

#include <QuartzCore/CGGeometry.h>
#include <QuartzCore/Forward.h>
#include <render/Forward.h>
#include <render/SDKTextStyle.h>

// Sets and draws text with Pango in Inter, the system font's stand-in, on a
// canvas, with the font and settings UIKit measures text with: glyph
// positions do not snap to pixels, so a text is as wide at every scale as
// layout measured it.
class SDKTextPainter {
public:
    explicit SDKTextPainter(SDKCanvas& canvas);

    // Draws the text in the box as a label does: centred vertically, aligned
    // horizontally, shrunk and then truncated with an ellipsis when it does
    // not fit. Returns the font size it was drawn at.
    CGFloat drawText(const std::string& text, const SDKTextStyle& style, const CGRect& box);
    // Where drawText would put the text's glyphs in the box (their ink, in
    // the box's coordinates), and whether it would cut the text short with
    // an ellipsis.
    struct Placement {
        CGRect glyphs;
        bool ellipsized = false;
    };
    Placement placeText(const std::string& text, const SDKTextStyle& style, const CGRect& box);
    // The size the text takes at the style's font, wrapped at `width` when
    // that is positive and the style allows more than one line.
    CGSize measureText(const std::string& text, const SDKTextStyle& style, CGFloat width = 0);

private:
    // The text set for drawing on the canvas, wrapped at `width` when positive.
    PangoLayout* setUp(const std::string& text, const SDKTextStyle& style, CGFloat fontSize,
                       CGFloat width);
    CGFloat fittingFontSize(const std::string& text, const SDKTextStyle& style, CGFloat width);

    SDKCanvas& _canvas;
};
