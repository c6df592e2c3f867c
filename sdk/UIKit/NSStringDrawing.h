#pragma once

#include <string>

#include <pango/pango.h>

#include <QuartzCore/CGGeometry.h>
#include <QuartzCore/Forward.h>
#include <UIKit/UIFont.h>

// Text measured the way it is drawn: Pango with Inter, unhinted, at the
// font's point size and weight. Measuring and drawing share the font
// description and the context settings here so that they agree.
class NSStringDrawing {
public:
    NSStringDrawing() = delete;

    // The size of the text on one line: its natural width and the font's line
    // height. Measurements are cached by text and font.
    static CGSize sizeWithFont(const std::string& text, const Ref<UIFont>& font);
    // The size of the text wrapped at `width` (at word boundaries, within a
    // word where one is wider), over as many lines as it takes; line breaks
    // in the text start new lines.
    static CGSize boundingSizeWithFont(const std::string& text, const Ref<UIFont>& font,
                                       CGFloat width);
    // Distance from the top of a line to its baseline.
    static CGFloat ascenderForFont(const Ref<UIFont>& font);
    // Height of one line of the font.
    static CGFloat lineHeightForFont(const Ref<UIFont>& font);

    // A new description of the font (family, absolute size, weight); the
    // caller frees it with pango_font_description_free.
    static PangoFontDescription* newFontDescription(const Ref<UIFont>& font);
    // Unhinted metrics and unrounded glyph positions, so that text lays out
    // the same at every scale; for contexts that draw text.
    static void prepareContext(PangoContext* context);
};
