#include <render/SDKImageViewLook.h>

#include <algorithm>

#include <UIKit/UIImage.h>
#include <render/SDKCanvas.h>
#include <render/SDKDescription.h>
#include <render/SDKSymbolCatalogue.h>
#include <render/SDKViewPainter.h>

namespace {

const char* contentModeName(UIViewContentMode mode) {
    static constexpr const char* kNames[] = {
        "scaleToFill", "scaleAspectFit", "scaleAspectFill", "redraw",  "center",   "top",
        "bottom",      "left",           "right",           "topLeft", "topRight", "bottomLeft",
        "bottomRight",
    };
    const auto index = static_cast<size_t>(mode);
    return index < std::size(kNames) ? kNames[index] : "scaleToFill";
}

// The pixels, premultiplied, in Cairo's native order.
cairo_surface_t* surfaceFromBitmap(const UIImage::Bitmap& bitmap) {
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, bitmap.width, bitmap.height);
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < bitmap.height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < bitmap.width; ++x) {
            const uint8_t* in = &bitmap.rgba[(static_cast<size_t>(y) * bitmap.width + x) * 4];
            const uint32_t a = in[3];
            auto premultiply = [a](uint32_t c) { return (c * a + 127) / 255; };
            row[x] =
                a << 24 | premultiply(in[0]) << 16 | premultiply(in[1]) << 8 | premultiply(in[2]);
        }
    }
    cairo_surface_mark_dirty(surface);
    return surface;
}

void drawBitmap(SDKCanvas& canvas, const UIImage::Bitmap& bitmap, const CGRect& rect) {
    if (bitmap.width <= 0 || bitmap.height <= 0 || rect.size.width <= 0 || rect.size.height <= 0) {
        return;
    }
    cairo_t* cairo = canvas.cairo();
    cairo_surface_t* surface = surfaceFromBitmap(bitmap);
    SDKCanvas::State state(canvas);
    cairo_translate(cairo, rect.origin.x, rect.origin.y);
    cairo_scale(cairo, rect.size.width / bitmap.width, rect.size.height / bitmap.height);
    cairo_set_source_surface(cairo, surface, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cairo), CAIRO_FILTER_GOOD);
    // The edge pixels carry on to the edge, rather than fading into nothing.
    cairo_pattern_set_extend(cairo_get_source(cairo), CAIRO_EXTEND_PAD);
    cairo_rectangle(cairo, 0, 0, bitmap.width, bitmap.height);
    cairo_fill(cairo);
    cairo_surface_destroy(surface);
}

} // namespace

CGRect SDKImageViewLook::imageRect(UIViewContentMode mode, const CGRect& bounds, CGSize size) {
    if (size.width <= 0 || size.height <= 0) {
        return CGRectZero;
    }
    // Scaled to fit or fill, centred; the placing modes keep the image's own
    // size at an edge, a corner or the middle; anything else stretches it.
    CGFloat scale = 1;
    // Where the image sits in the room left over: 0 at the left or top, 0.5
    // in the middle, 1 at the right or bottom.
    CGFloat across = 0.5;
    CGFloat down = 0.5;
    switch (mode) {
    case UIViewContentModeScaleAspectFit:
        scale = std::min(bounds.size.width / size.width, bounds.size.height / size.height);
        break;
    case UIViewContentModeScaleAspectFill:
        scale = std::max(bounds.size.width / size.width, bounds.size.height / size.height);
        break;
    case UIViewContentModeCenter:
        break;
    case UIViewContentModeTop:
        down = 0;
        break;
    case UIViewContentModeBottom:
        down = 1;
        break;
    case UIViewContentModeLeft:
        across = 0;
        break;
    case UIViewContentModeRight:
        across = 1;
        break;
    case UIViewContentModeTopLeft:
        across = 0;
        down = 0;
        break;
    case UIViewContentModeTopRight:
        across = 1;
        down = 0;
        break;
    case UIViewContentModeBottomLeft:
        across = 0;
        down = 1;
        break;
    case UIViewContentModeBottomRight:
        across = 1;
        down = 1;
        break;
    default:
        return bounds;
    }
    const CGSize shown = CGSizeMake(size.width * scale, size.height * scale);
    return CGRectMake(bounds.origin.x + (bounds.size.width - shown.width) * across,
                      bounds.origin.y + (bounds.size.height - shown.height) * down, shown.width,
                      shown.height);
}

void SDKImageViewLook::draw(const UIImageView& view, SDKViewPainter& painter) const {
    const Ref<UIImage> image = view.image();
    if (!image) {
        return;
    }
    const CGRect rect = imageRect(view.contentMode(), view.bounds(), image->size());
    if (image->isSymbolImage()) {
        SDKSymbolCatalogue::drawSymbol(*image->symbolName(), painter.canvas(), rect,
                                       *view.tintColor()->CGColor());
    } else if (const auto bitmap = image->bitmap()) {
        drawBitmap(painter.canvas(), *bitmap, rect);
    }
}

void SDKImageViewLook::describeView(const UIImageView& view, Value::Dictionary& description) const {
    description["contentMode"] = contentModeName(view.contentMode());
    const Ref<UIImage> image = view.image();
    if (!image) {
        description["image"] = Value();
        return;
    }
    if (image->isSymbolImage()) {
        description["image"] = Value::Dictionary{{"symbol", *image->symbolName()},
                                                 {"tint", SDKDescription::color(view.tintColor())}};
    } else {
        description["image"] =
            Value::Dictionary{{"width", image->size().width}, {"height", image->size().height}};
    }
}
