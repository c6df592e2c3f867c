#pragma once

#include <string>

#include <pango/pangocairo.h>

#include <QuartzCore/CGGeometry.h>
#include <render/SDKTextStyle.h>

// Text set by Pango, kept on each thread from one draw to the next: a page
// drawn again (after a change, in another variant, tile by tile) sets most of
// its text in the same font at the same width, and shaping the text and
// breaking it into lines is most of what drawing it costs.
class SDKTextLayoutCache {
public:
    SDKTextLayoutCache() = delete;

    // The text set in the style's font at `fontSize`, its lines broken at
    // `width` when that is positive (one line for each paragraph otherwise),
    // ready to draw on `cairo`. The layout belongs to the cache and is good
    // until the next call on the same thread.
    static PangoLayout* layout(cairo_t* cairo, const std::string& text, const SDKTextStyle& style,
                               CGFloat fontSize, CGFloat width);
};
