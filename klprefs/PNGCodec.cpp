#include "PNGCodec.h"

#include <cstring>

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
    std::string bytes;
    const cairo_status_t status = cairo_surface_write_to_png_stream(
        image,
        [](void* closure, const unsigned char* data, unsigned int length) {
            static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
            return CAIRO_STATUS_SUCCESS;
        },
        &bytes);
    if (status != CAIRO_STATUS_SUCCESS) {
        if (error) {
            *error = std::string("cannot encode the picture: ") + cairo_status_to_string(status);
        }
        return {};
    }
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
