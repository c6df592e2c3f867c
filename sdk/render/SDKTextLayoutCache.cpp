#include <render/SDKTextLayoutCache.h>

#include <cstring>
#include <unordered_map>

#include <UIKit/NSStringDrawing.h>

namespace {

// Layouts, and bytes of their text, kept before the cache starts over: text
// that follows a value (a slider's readout) would otherwise grow it without
// end, and a layout holds several times its text's size. A text longer than
// the whole budget is laid out for its draw only.
constexpr size_t kCacheLimit = 1024;
constexpr size_t kTextBytesLimit = 1 << 20;

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

template <typename Value> void appendBytes(std::string& key, Value value) {
    key.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// Everything that sets the layout, then the text.
std::string keyFor(const std::string& text, const SDKTextStyle& style, CGFloat fontSize,
                   CGFloat width) {
    std::string key;
    key.reserve(32 + text.size());
    appendBytes(key, fontSize);
    appendBytes(key, width > 0 ? width : -1.0);
    appendBytes(key, static_cast<int64_t>(width > 0 ? style.numberOfLines : 1));
    appendBytes(key, static_cast<uint8_t>(style.weight));
    appendBytes(key, static_cast<uint8_t>(style.alignment));
    appendBytes(key, static_cast<uint8_t>(style.layoutDirection));
    key += text;
    return key;
}

class Cache {
public:
    Cache() : _context(pango_font_map_create_context(pango_cairo_font_map_get_default())) {
        // The settings text is measured with, so that it draws as wide as it measures.
        NSStringDrawing::prepareContext(_context);
    }
    ~Cache() {
        clear();
        if (_uncached) {
            g_object_unref(_uncached);
        }
        g_object_unref(_context);
    }
    Cache(const Cache&) = delete;
    Cache& operator=(const Cache&) = delete;

    PangoLayout* layout(cairo_t* cairo, const std::string& text, const SDKTextStyle& style,
                        CGFloat fontSize, CGFloat width) {
        follow(cairo);
        std::string key = keyFor(text, style, fontSize, width);
        auto found = _layouts.find(key);
        if (found != _layouts.end()) {
            return found->second;
        }
        PangoLayout* made = make(text, style, fontSize, width);
        if (text.size() > kTextBytesLimit) {
            if (_uncached) {
                g_object_unref(_uncached);
            }
            _uncached = made;
            return made;
        }
        if (_layouts.size() >= kCacheLimit || _textBytes + text.size() > kTextBytesLimit) {
            clear();
        }
        _textBytes += text.size();
        _layouts.emplace(std::move(key), made);
        return made;
    }

private:
    // Pango takes every update of the context for a change and lays all
    // kept text out again, so the context follows only a change of scale
    // or of the kind of surface (whose font settings may differ).
    void follow(cairo_t* cairo) {
        cairo_matrix_t matrix;
        cairo_get_matrix(cairo, &matrix);
        const cairo_surface_type_t surface = cairo_surface_get_type(cairo_get_target(cairo));
        if (_followed && matrix.xx == _matrix.xx && matrix.yx == _matrix.yx &&
            matrix.xy == _matrix.xy && matrix.yy == _matrix.yy && surface == _surface) {
            return;
        }
        pango_cairo_update_context(cairo, _context);
        _followed = true;
        _matrix = matrix;
        _surface = surface;
    }

    PangoLayout* make(const std::string& text, const SDKTextStyle& style, CGFloat fontSize,
                      CGFloat width) const {
        PangoLayout* layout = pango_layout_new(_context);
        PangoFontDescription* font = NSStringDrawing::newFontDescription(
            alloc<UIFont>()->initWithSize(fontSize, style.weight));
        pango_layout_set_font_description(layout, font);
        pango_font_description_free(font);
        pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
        // Each paragraph's direction is that of its first letter, as on the
        // platform, so that mixed Latin and Arabic text orders as it does there.
        pango_layout_set_auto_dir(layout, TRUE);
        pango_layout_set_justify(layout, style.alignment == NSTextAlignmentJustified);
        if (width > 0) {
            pango_layout_set_width(layout, static_cast<int>(width * PANGO_SCALE));
            pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
            if (style.numberOfLines != 0) {
                // A negative height limits the lines of each paragraph; the
                // last one kept ends in an ellipsis when text remains.
                pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
                pango_layout_set_height(layout, -static_cast<int>(style.numberOfLines));
            }
        }
        // The alignment waits for the first paragraph's direction.
        const PangoLayoutLine* first = pango_layout_get_line_readonly(layout, 0);
        pango_layout_set_alignment(
            layout, pangoAlignment(style, first ? static_cast<PangoDirection>(first->resolved_dir)
                                                : PANGO_DIRECTION_LTR));
        return layout;
    }

    void clear() {
        for (auto& [key, layout] : _layouts) {
            g_object_unref(layout);
        }
        _layouts.clear();
        _textBytes = 0;
    }

    PangoContext* _context;
    bool _followed = false;
    cairo_matrix_t _matrix{};
    cairo_surface_type_t _surface = CAIRO_SURFACE_TYPE_IMAGE;
    std::unordered_map<std::string, PangoLayout*> _layouts;
    size_t _textBytes = 0;
    PangoLayout* _uncached = nullptr;
};

} // namespace

PangoLayout* SDKTextLayoutCache::layout(cairo_t* cairo, const std::string& text,
                                        const SDKTextStyle& style, CGFloat fontSize,
                                        CGFloat width) {
    thread_local Cache cache;
    return cache.layout(cairo, text, style, fontSize, width);
}
