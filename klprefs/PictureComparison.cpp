#include "PictureComparison.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

// One pixel of an ARGB32 surface, or nothing outside it.
bool pixelAt(cairo_surface_t* image, int x, int y, uint32_t& pixel) {
    if (x >= cairo_image_surface_get_width(image) || y >= cairo_image_surface_get_height(image)) {
        return false;
    }
    const unsigned char* row = cairo_image_surface_get_data(image) +
                               static_cast<size_t>(y) * cairo_image_surface_get_stride(image);
    pixel = reinterpret_cast<const uint32_t*>(row)[x];
    return true;
}

int width(cairo_surface_t* image) {
    return cairo_image_surface_get_width(image);
}

int height(cairo_surface_t* image) {
    return cairo_image_surface_get_height(image);
}

// The reference's share kept where nothing changed, the rest white.
constexpr double kFadedShare = 0.3;
constexpr uint32_t kChangedColor = 0xFFFF0000;

} // namespace

PictureComparison::PictureComparison(cairo_surface_t* reference, cairo_surface_t* actual,
                                     double threshold)
    : _reference(reference), _actual(actual),
      // A channel differs when its distance is above the threshold's share of 255.
      _threshold(static_cast<int>(std::floor(std::clamp(threshold, 0.0, 1.0) * 255 + 1e-9))) {
    cairo_surface_flush(_reference);
    cairo_surface_flush(_actual);
    const int columns = std::max(width(_reference), width(_actual));
    const int rows = std::max(height(_reference), height(_actual));
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < columns; ++x) {
            _changed += changed(x, y) ? 1 : 0;
        }
    }
}

bool PictureComparison::sameSize() const {
    return width(_reference) == width(_actual) && height(_reference) == height(_actual);
}

bool PictureComparison::changed(int x, int y) const {
    uint32_t before = 0, after = 0;
    if (!pixelAt(_reference, x, y, before) || !pixelAt(_actual, x, y, after)) {
        return true;
    }
    if (before == after) {
        return false;
    }
    for (int shift = 0; shift < 32; shift += 8) {
        const int distance = std::abs(static_cast<int>(before >> shift & 0xFF) -
                                      static_cast<int>(after >> shift & 0xFF));
        if (distance > _threshold) {
            return true;
        }
    }
    return false;
}

PictureComparison::Image PictureComparison::diffImage() const {
    const int columns = std::max(width(_reference), width(_actual));
    const int rows = std::max(height(_reference), height(_actual));
    Image diff(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, columns, rows),
               &cairo_surface_destroy);
    if (cairo_surface_status(diff.get()) != CAIRO_STATUS_SUCCESS) {
        return Image(nullptr, &cairo_surface_destroy);
    }
    cairo_surface_flush(diff.get());
    unsigned char* data = cairo_image_surface_get_data(diff.get());
    const int stride = cairo_image_surface_get_stride(diff.get());
    for (int y = 0; y < rows; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < columns; ++x) {
            uint32_t pixel = 0;
            if (changed(x, y) || !pixelAt(_reference, x, y, pixel)) {
                row[x] = kChangedColor;
                continue;
            }
            // Over white, then faded toward it: an opaque grey-tinted copy.
            uint32_t faded = 0xFF000000;
            const unsigned alpha = pixel >> 24;
            for (int shift = 0; shift < 24; shift += 8) {
                const double over = (pixel >> shift & 0xFF) + (255.0 - alpha);
                const double value = over * kFadedShare + 255 * (1 - kFadedShare);
                faded |= static_cast<uint32_t>(std::lround(std::min(value, 255.0))) << shift;
            }
            row[x] = faded;
        }
    }
    cairo_surface_mark_dirty(diff.get());
    return diff;
}
