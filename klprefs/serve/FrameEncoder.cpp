#include "FrameEncoder.h"

#include <csetjmp>
#include <cstdint>
#include <vector>

#include <png.h>

namespace {

void append(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))
        ->append(reinterpret_cast<const char*>(data), length);
}

void flush(png_structp) {}

} // namespace

std::string FrameEncoder::png(cairo_surface_t* image) {
    if (cairo_surface_get_type(image) != CAIRO_SURFACE_TYPE_IMAGE ||
        cairo_image_surface_get_format(image) != CAIRO_FORMAT_ARGB32) {
        return {};
    }
    cairo_surface_flush(image);
    const int width = cairo_image_surface_get_width(image);
    const int height = cairo_image_surface_get_height(image);
    const int stride = cairo_image_surface_get_stride(image);
    const unsigned char* pixels = cairo_image_surface_get_data(image);
    // Everything libpng's error jump could skip past is made before it.
    std::string out;
    std::vector<png_byte> row(static_cast<size_t>(width) * 4);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, append, flush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 1);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        const auto* line =
            reinterpret_cast<const uint32_t*>(pixels + static_cast<size_t>(y) * stride);
        for (int x = 0; x < width; ++x) {
            // Cairo keeps premultiplied native-endian ARGB; PNG wants straight RGBA.
            const uint32_t pixel = line[x];
            const uint32_t alpha = pixel >> 24;
            png_byte* rgba = &row[static_cast<size_t>(x) * 4];
            for (int channel = 0; channel < 3; ++channel) {
                const uint32_t value = (pixel >> (16 - 8 * channel)) & 0xFF;
                rgba[channel] =
                    static_cast<png_byte>(alpha == 255 ? value
                                          : alpha == 0 ? 0
                                                       : (value * 255 + alpha / 2) / alpha);
            }
            rgba[3] = static_cast<png_byte>(alpha);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}
