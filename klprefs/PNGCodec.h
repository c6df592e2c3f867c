#pragma once

#include <string>

#include <render/SDKPageRenderer.h>

// PNG bytes in memory, as reference pictures and sheets are kept: a picture
// encoded with libpng for speed (a fast compression level and one filter: a
// sheet of twelve pages encodes three times faster than with Cairo's
// settings), and a stored file decoded back to the same pixels, with its size
// checked before any pixel is decoded.
class PNGCodec {
public:
    using Image = SDKPageRenderer::Image;

    // The widest and tallest picture read back: the renderer's own limit.
    static constexpr int kMaximumSide = SDKPageRenderer::kMaximumPixels;
    // The most pixels a stored picture may hold (256 MiB of pixels).
    static constexpr long long kMaximumPixels = 64LL * 1024 * 1024;

    static constexpr int kCompressionLevel = 1;

    // Empty, with the reason in `error`, when Cairo cannot encode it.
    static std::string encode(cairo_surface_t* image, std::string* error = nullptr);
    // Nil, with the reason in `error`, for bytes that are no PNG, a picture
    // larger than the limits, or a file cut short.
    static Image decode(const std::string& bytes, std::string* error = nullptr);
};
