#include <UIKit/NSStringDrawing.h>

#include <cstring>
#include <mutex>
#include <unordered_map>

#include <pango/pangocairo.h>

namespace {

// Distinct measurements kept before the cache starts over: labels whose text
// follows a value (a slider's readout) would otherwise grow it without end.
constexpr size_t kCacheLimit = 4096;

struct LineMetrics {
    CGFloat ascender;
    CGFloat lineHeight;
};

PangoFontDescription* describe(const UIFont& font) {
    PangoFontDescription* description = pango_font_description_new();
    // Characters Inter lacks fall back, one by one, to the installed font
    // fontconfig finds for them: Debian's Noto fonts for colour emoji,
    // Chinese, Japanese, Korean, Arabic and Hebrew.
    pango_font_description_set_family(description, font.familyName().c_str());
    pango_font_description_set_absolute_size(description, font.pointSize() * PANGO_SCALE);
    pango_font_description_set_weight(
        description, font.weight() == UIFont::Weight::Bold       ? PANGO_WEIGHT_BOLD
                     : font.weight() == UIFont::Weight::Semibold ? PANGO_WEIGHT_SEMIBOLD
                                                                 : PANGO_WEIGHT_NORMAL);
    return description;
}

// One measuring context for the process, locked so that a renderer on
// another thread may measure too.
class Measurer {
public:
    Measurer()
        : _fontMap(pango_cairo_font_map_new()), _context(pango_font_map_create_context(_fontMap)),
          _layout(pango_layout_new(_context)) {
        NSStringDrawing::prepareContext(_context);
        pango_layout_set_single_paragraph_mode(_layout, TRUE);
    }
    ~Measurer() {
        g_object_unref(_layout);
        g_object_unref(_context);
        g_object_unref(_fontMap);
    }
    Measurer(const Measurer&) = delete;
    Measurer& operator=(const Measurer&) = delete;

    CGSize size(const std::string& text, const UIFont& font) {
        std::lock_guard lock(_mutex);
        std::string key = fontKey(font);
        key.push_back('\0');
        key += text;
        auto found = _sizes.find(key);
        if (found != _sizes.end()) {
            return found->second;
        }
        const PangoRectangle logical = extents(text, font);
        const CGSize size{static_cast<CGFloat>(logical.width) / PANGO_SCALE,
                          lineMetrics(font).lineHeight};
        remember(std::move(key), size);
        return size;
    }

    // Layout asks again for the same text at the same width on every pass
    // (and a row's height for each of its labels), so these are kept too.
    CGSize wrapped(const std::string& text, const UIFont& font, CGFloat width) {
        std::lock_guard lock(_mutex);
        // The byte after the font's tells a wrapped size from a line's.
        std::string key = fontKey(font);
        key.push_back('\1');
        key.append(reinterpret_cast<const char*>(&width), sizeof width);
        key += text;
        auto found = _sizes.find(key);
        if (found != _sizes.end()) {
            return found->second;
        }
        pango_layout_set_single_paragraph_mode(_layout, FALSE);
        pango_layout_set_width(_layout, static_cast<int>(width * PANGO_SCALE));
        pango_layout_set_wrap(_layout, PANGO_WRAP_WORD_CHAR);
        const PangoRectangle logical = extents(text, font);
        pango_layout_set_width(_layout, -1);
        pango_layout_set_single_paragraph_mode(_layout, TRUE);
        const CGSize size{static_cast<CGFloat>(logical.width) / PANGO_SCALE,
                          static_cast<CGFloat>(logical.height) / PANGO_SCALE};
        remember(std::move(key), size);
        return size;
    }

    LineMetrics metrics(const UIFont& font) {
        std::lock_guard lock(_mutex);
        return lineMetrics(font);
    }

private:
    void remember(std::string key, CGSize size) {
        if (_sizes.size() >= kCacheLimit) {
            _sizes.clear();
        }
        _sizes.emplace(std::move(key), size);
    }

    LineMetrics lineMetrics(const UIFont& font) {
        const std::string key = fontKey(font);
        auto found = _metrics.find(key);
        if (found != _metrics.end()) {
            return found->second;
        }
        // An empty line still has the font's height and baseline.
        const PangoRectangle logical = extents("", font);
        const LineMetrics line{static_cast<CGFloat>(pango_layout_get_baseline(_layout)) /
                                   PANGO_SCALE,
                               static_cast<CGFloat>(logical.height) / PANGO_SCALE};
        _metrics.emplace(key, line);
        return line;
    }

    static std::string fontKey(const UIFont& font) {
        std::string key(sizeof(CGFloat) + 1, '\0');
        const CGFloat size = font.pointSize();
        std::memcpy(key.data(), &size, sizeof size);
        key.back() = "rsb"[static_cast<int>(font.weight())];
        return key;
    }

    PangoRectangle extents(const std::string& text, const UIFont& font) {
        PangoFontDescription* description = describe(font);
        pango_layout_set_font_description(_layout, description);
        pango_font_description_free(description);
        pango_layout_set_text(_layout, text.data(), static_cast<int>(text.size()));
        PangoRectangle logical;
        pango_layout_get_extents(_layout, nullptr, &logical);
        return logical;
    }

    std::mutex _mutex;
    PangoFontMap* _fontMap;
    PangoContext* _context;
    PangoLayout* _layout;
    std::unordered_map<std::string, CGSize> _sizes;
    std::unordered_map<std::string, LineMetrics> _metrics;
};

Measurer& measurer() {
    // Never destroyed: a worker may still read it while the process exits.
    static Measurer& instance = *new Measurer;
    return instance;
}

Ref<UIFont> fontOrDefault(const Ref<UIFont>& font) {
    return font ? font : UIFont::systemFontOfSize(17);
}

} // namespace

CGSize NSStringDrawing::sizeWithFont(const std::string& text, const Ref<UIFont>& font) {
    return measurer().size(text, *fontOrDefault(font));
}

CGSize NSStringDrawing::boundingSizeWithFont(const std::string& text, const Ref<UIFont>& font,
                                             CGFloat width) {
    if (!(width > 0)) {
        return sizeWithFont(text, font);
    }
    return measurer().wrapped(text, *fontOrDefault(font), width);
}

CGFloat NSStringDrawing::ascenderForFont(const Ref<UIFont>& font) {
    return measurer().metrics(*fontOrDefault(font)).ascender;
}

CGFloat NSStringDrawing::lineHeightForFont(const Ref<UIFont>& font) {
    return measurer().metrics(*fontOrDefault(font)).lineHeight;
}

PangoFontDescription* NSStringDrawing::newFontDescription(const Ref<UIFont>& font) {
    return describe(*fontOrDefault(font));
}

void NSStringDrawing::prepareContext(PangoContext* context) {
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(context, FALSE);
}
