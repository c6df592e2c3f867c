#include "PNGCodec.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include <png.h>

namespace {

struct Reader {
    const std::string& bytes;
    size_t offset = 0;
};

// A PNG's width and height, from its header chunk, before anything is decoded.
bool readSize(const std::string& bytes, long long& width, long long& height) {
    static const char kSignature[] = "\x89PNG\r\n\x1a\n";
    if (bytes.size() < 24 || std::memcmp(bytes.data(), kSignature, 8) != 0 ||
        bytes.compare(12, 4, "IHDR") != 0) {
        return false;
    }
    auto word = [&](size_t at) {
        long long value = 0;
        for (size_t i = 0; i < 4; ++i) {
            value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
        }
        return value;
    };
    width = word(16);
    height = word(20);
    return true;
}

} // namespace

std::string PNGCodec::encode(cairo_surface_t* image, std::string* error) {
    cairo_surface_flush(image);
    const int width = cairo_image_surface_get_width(image);
    const int height = cairo_image_surface_get_height(image);
    std::string bytes;
    std::vector<unsigned char> row(static_cast<size_t>(width) * 4);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        if (error) {
            *error = "cannot encode the picture: out of memory";
        }
        return {};
    }
    png_set_write_fn(
        png, &bytes,
        [](png_structp writer, png_bytep data, png_size_t length) {
            static_cast<std::string*>(png_get_io_ptr(writer))
                ->append(reinterpret_cast<const char*>(data), length);
        },
        [](png_structp) {});
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, kCompressionLevel);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_write_info(png, info);
    const unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    for (int y = 0; y < height; ++y) {
        const auto* pixels =
            reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < width; ++x) {
            // Cairo's pixels carry their colour multiplied by their opacity;
            // a PNG's do not.
            const uint32_t pixel = pixels[x];
            const uint32_t alpha = pixel >> 24;
            unsigned char* out = &row[static_cast<size_t>(x) * 4];
            for (int channel = 0; channel < 3; ++channel) {
                const uint32_t value = pixel >> (16 - 8 * channel) & 0xFF;
                out[channel] =
                    static_cast<unsigned char>(alpha == 0     ? 0
                                               : alpha == 255 ? value
                                                              : (value * 255 + alpha / 2) / alpha);
            }
            out[3] = static_cast<unsigned char>(alpha);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return bytes;
}

PNGCodec::Image PNGCodec::decode(const std::string& bytes, std::string* error) {
    Image none(nullptr, &cairo_surface_destroy);
    auto fail = [&](const std::string& message) {
        if (error) {
            *error = message;
        }
        return std::move(none);
    };
    long long width = 0, height = 0;
    if (!readSize(bytes, width, height)) {
        return fail("it is no PNG file");
    }
    if (width <= 0 || height <= 0 || width > kMaximumSide || height > kMaximumSide ||
        width * height > kMaximumPixels) {
        return fail("its size, " + std::to_string(width) + " by " + std::to_string(height) +
                    " pixels, is beyond what a page's picture can be");
    }
    Reader reader{bytes, 0};
    Image image(cairo_image_surface_create_from_png_stream(
                    [](void* closure, unsigned char* data, unsigned int length) {
                        auto* source = static_cast<Reader*>(closure);
                        if (source->bytes.size() - source->offset < length) {
                            return CAIRO_STATUS_READ_ERROR;
                        }
                        std::memcpy(data, source->bytes.data() + source->offset, length);
                        source->offset += length;
                        return CAIRO_STATUS_SUCCESS;
                    },
                    &reader),
                &cairo_surface_destroy);
    if (cairo_surface_status(image.get()) != CAIRO_STATUS_SUCCESS) {
        return fail(std::string("it cannot be decoded: ") +
                    cairo_status_to_string(cairo_surface_status(image.get())));
    }
    // Pixels as the renderer makes them, whatever form the file took.
    if (cairo_image_surface_get_format(image.get()) != CAIRO_FORMAT_ARGB32) {
        Image converted(cairo_image_surface_create(CAIRO_FORMAT_ARGB32,
                                                   cairo_image_surface_get_width(image.get()),
                                                   cairo_image_surface_get_height(image.get())),
                        &cairo_surface_destroy);
        cairo_t* cairo = cairo_create(converted.get());
        cairo_set_source_surface(cairo, image.get(), 0, 0);
        cairo_set_operator(cairo, CAIRO_OPERATOR_SOURCE);
        cairo_paint(cairo);
        cairo_destroy(cairo);
        cairo_surface_flush(converted.get());
        return converted;
    }
    return image;
}
